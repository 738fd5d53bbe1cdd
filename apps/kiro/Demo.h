#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "qzkiro/Ui.h"

namespace qzkiro::kiro {

struct OpzioniDemo {
  std::string config;           // the configuration document given to Init
  std::string dati_host;        // the stand-in host's sample data, copied to a work folder
  std::string cartella_plugin;  // the add-on's folder
  bool simulatore = false;      // the regional services answer from the simulator's files
  std::string registra{};       // when set, the sandbox records every exchange in this folder
  std::shared_ptr<core::Ui> ui{};  // the add-on's dialogs; null: the console
};

// Runs the stand-in host through the add-on's start-up and prints what it
// sees. Returns 0 only when every step did what it should.
int Demo(const OpzioniDemo& opzioni, std::ostream& out);

}  // namespace qzkiro::kiro
