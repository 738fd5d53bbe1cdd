#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace hostminimo {

// What the example takes from its command line.
struct Opzioni {
  std::string lotti;        // base address of the vaccine-lot search ("client/lotti")
  std::string antigene;     // active-principle code searched for
  std::string aic;          // or the vaccine's AIC code
  std::string plugin;       // the add-on's folder; sets $QZKIRO_HOME when given
  std::string ca;           // CA bundle of the services; sets $QZKIRO_CA_BUNDLE when given
  std::string certificato;  // TLS client certificate (PKCS#12), a name inside the add-on's folder
  std::string password;     // its password
  std::string log;          // log folder handed to Init ("" = no log)
  std::string medico = "RSSMRA70A01L736S";  // the host user's fiscal code
  std::string asl = "050503";               // the host user's health unit
};

// Reads the options; nullopt after printing the usage (to `out` for --help,
// to `err` with the reason otherwise). `aiuto` tells which of the two happened.
std::optional<Opzioni> LeggiOpzioni(int argc, char** argv, std::ostream& out, std::ostream& err,
                                    bool& aiuto);

}  // namespace hostminimo
