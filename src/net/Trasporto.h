#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "qzkiro/clsItemAsserzione.h"

#include "core/PluginSettings.h"
#include "net/EsitoScambio.h"
#include "net/ScambioHttp.h"

namespace qzkiro::net {

// The fields and results that the SOAP and REST clients share. A client is
// configured by its public fields, sends once and is released.
// A client certificate given as an object: certificate and key in PEM files.
struct CertificatoClient {
  std::string certificato;
  std::string chiave;
  std::string password;
};

class Trasporto {
 public:
  virtual ~Trasporto();

  std::string UserName, Password;
  std::string URL;
  std::string ContentType;          // default "text/xml; charset=utf-8"
  std::int32_t ReadTimeOut = 0;     // seconds, 0 = the default
  std::int32_t ConnectTimeOut = 0;  // seconds, 0 = the default
  // The trace file of the exchange (the SOAP dump file); emptied before and
  // after each call, and logged.
  std::string FileLog;
  std::string AcceptEncoding;               // default "deflate"
  bool UseIEProxy = false;                  // the system's proxy settings
  std::shared_ptr<CertificatoClient> Cert;  // client certificate, when given
  std::string FileCertTLS, PasswordTLS;     // client certificate (PKCS#12)
  std::string Servizio;                     // log titles and the simulator's service name
  std::string ProxyHost;                    // "ie" in any letter case: the system's proxy
  std::int32_t ProxyPort = 0;
  std::string ProxyUsername, ProxyPassword;
  std::string ResponseToFile;  // a successful answer is also saved here
  // The CA bundle that verifies the services' certificates.
  std::string CaBundle = CaBundlePredefinito();

  // Proxy and TLS client certificate of the add-on's settings.
  void ImpostaDaSettings(const core::PluginSettings& settings);

  const std::string& Response() const { return response_; }
  // Hands the answer over without copying it (a document may be large);
  // Response() is empty afterwards.
  std::string PrendiResponse() { return std::move(response_); }
  const std::string& LastError() const { return last_error_; }
  const std::string& LastErrorResponse() const { return last_error_response_; }
  const std::string& LastHttpError() const { return last_http_error_; }
  // The Content-Type of the last answer received ("" from the simulator):
  // what a multipart answer needs to be split.
  const std::string& ResponseContentType() const { return response_content_type_; }

 protected:
  void Azzera();
  // Proxy, authentication, client certificate and time-outs of the fields.
  RichiestaHttp Base(long connessione_predefinita_ms) const;
  void SvuotaTraccia() const;
  void RegistraTraccia() const;
  // The frame of every send: clears the results, logs `titolo` with the
  // service, the URL and `voce`, empties the trace file before and logs it
  // after (when `traccia`), answers from the simulator when it is on, else
  // runs `invia`; an exception becomes the last error.
  bool Scambio(const std::string& titolo, const std::string& voce, bool traccia,
               const std::function<bool()>& invia);
  // Sends through the process's transport and keeps what came back by the
  // rules of `forma`: the answer (and ResponseToFile), or the user's message
  // with the failed answer or the transport's description.
  bool Invia(const RichiestaHttp& richiesta, FormaScambio forma);
  // Serves the answer from the simulator when simulator mode is on.
  bool Simulato();
  // Sends with an assertion (`invia` puts it into the request and sends) and
  // recovers from the services' assertion errors: an expired assertion is
  // renewed, a refused audience asks to authenticate again, an expired
  // password asks to change it; then the request goes again once when
  // `riprova`, else the caller gets "Retry".
  bool ConAsserzione(clsItemAsserzione& item, bool riprova,
                     const std::function<bool(const clsItemAsserzione&)>& invia);

  std::string response_, last_error_, last_error_response_, last_http_error_ = "0";
  std::string response_content_type_;
};

}  // namespace qzkiro::net
