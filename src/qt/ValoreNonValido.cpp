#include "qt/ValoreNonValido.h"

#include "qzkiro/Failure.h"

namespace qzkiro::qt {

void ValoreNonValido(const std::string& cosa) {
  throw Failure(kValoreNonValido, "Valore della proprietà non valido: " + cosa);
}

}  // namespace qzkiro::qt
