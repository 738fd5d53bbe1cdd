#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

namespace qzkiro::core {

// Endpoint keys of the configuration document ("client/" + key), in the order
// they are read.
inline constexpr std::array<const char*, 23> kChiaviEndpoint = {"iap",
                                                                "invioprescritto",
                                                                "invioprescrittoeco",
                                                                "invioprescrittoermete",
                                                                "annullaprescritto",
                                                                "visualizzaprescritto",
                                                                "invioprescrittobianca",
                                                                "annullaprescrittobianca",
                                                                "querypaziente",
                                                                "registryreg",
                                                                "repositoryreg",
                                                                "repositoryfse",
                                                                "ivaq",
                                                                "getmypatients",
                                                                "elencopt",
                                                                "visualizzapt",
                                                                "acn",
                                                                "indicatoripa",
                                                                "flussoasl",
                                                                "flussoasl050103",
                                                                "relayposta",
                                                                "emailprelievi",
                                                                "lotti"};

// The run-time settings of the add-on, filled by Init and read by every service.
struct PluginSettings {
  bool debug = false;
  bool disattivato = false;
  bool no_stampa_dema = false;
  bool email_consenso = false;
  std::string codice_struttura;
  bool check_consenso_fse = false;
  bool fse_attivo = false;

  // Service endpoints by key (see kChiaviEndpoint); absent keys are "".
  std::map<std::string, std::string> endpoint;

  // The multi-factor service ("client/mfa") and its test instance
  // ("client/mfatest"), chosen for the test users.
  std::string endpoint_mfa;
  std::string endpoint_mfa_test;
  // The national time reference ("client/orariferimento", default INRiM's).
  std::string endpoint_ora = "http://www.inrim.it";

  // The SFTP server of the PDTA indicator files ("client/sftppdta": "host" or
  // "host:port", port 4222 when absent) and the SHA-256 fingerprint of its
  // host key in Base64 ("client/sftppdtaimpronta", as "ssh-keygen -l -E
  // sha256" prints it without "SHA256:"): the server must show that key.
  std::string server_pdta;
  std::string impronta_pdta;

  std::string certificato;         // identity provider
  std::string certificato_sar_cf;  // non-reimbursed prescriptions
  std::string application_id;
  std::string certificato_tls;
  std::string password_tls;

  std::string proxy_host;
  std::int32_t proxy_port = 0;
  std::string proxy_username;
  std::string proxy_password;

  bool demat_bianca_farmaci = false;
  std::string temp_dir;
  std::string log_dir;

  // The endpoint for `key`, "" when not configured.
  std::string Endpoint(const std::string& key) const {
    auto it = endpoint.find(key);
    return it == endpoint.end() ? std::string() : it->second;
  }
};

}  // namespace qzkiro::core
