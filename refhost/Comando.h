#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace qzkiro::refhost {

// A command line cut into arguments at spaces and tabs; a stretch in double quotes
// keeps its spaces and loses the quotes, so `-xml "/tmp/a b.xml"` gives
// "-xml" and "/tmp/a b.xml". No other character is special.
std::vector<std::string> DividiArgomenti(const std::string& riga);

// Runs args[0] (looked up in PATH) with the other arguments, never through a
// shell, with input and output on /dev/null and in a process group of its
// own, and waits for it; past `limite` the whole group is killed. True when
// it ended with exit code 0.
bool EseguiComando(const std::vector<std::string>& args,
                   std::chrono::milliseconds limite = std::chrono::seconds(120));

}  // namespace qzkiro::refhost
