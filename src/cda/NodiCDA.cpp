#include "cda/NodiCDA.h"

#include "util/clsXML.h"

#include <libxml/xmlsave.h>

#include <cstring>

namespace qzkiro::cda {

namespace {

char MinuscolaAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Possiedi(xmlChar* s) {
  if (!s) return {};
  std::string out(reinterpret_cast<const char*>(s));
  xmlFree(s);
  return out;
}

}  // namespace

std::string_view NomeLocale(Nodo n) {
  if (!n || n->type != XML_ELEMENT_NODE || !n->name) return {};
  return reinterpret_cast<const char*>(n->name);
}

bool HaNome(Nodo n, std::string_view nome) {
  if (!n || n->type != XML_ELEMENT_NODE || !n->name) return false;
  const char* proprio = reinterpret_cast<const char*>(n->name);
  return std::strncmp(proprio, nome.data(), nome.size()) == 0 && proprio[nome.size()] == '\0';
}

Nodo Figlio(Nodo n, std::string_view nome) {
  if (!n) return nullptr;
  for (Nodo c = n->children; c; c = c->next) {
    if (HaNome(c, nome)) return c;
  }
  return nullptr;
}

Nodo Primo(Nodo n, std::string_view percorso) {
  Nodo trovato = nullptr;
  PerOgni(n, percorso, [&](Nodo c) {
    trovato = c;
    return false;
  });
  return trovato;
}

std::string Attributo(Nodo n, std::string_view nome) {
  if (!n || n->type != XML_ELEMENT_NODE) return {};
  for (xmlAttrPtr a = n->properties; a; a = a->next) {
    const char* proprio = reinterpret_cast<const char*>(a->name);
    if (std::strncmp(proprio, nome.data(), nome.size()) != 0 || proprio[nome.size()] != '\0') {
      continue;
    }
    // A plain value is one text child: read it without a copy in between.
    xmlNodePtr valore = a->children;
    if (valore && !valore->next && valore->type == XML_TEXT_NODE && valore->content) {
      return reinterpret_cast<const char*>(valore->content);
    }
    return Possiedi(xmlNodeListGetString(n->doc, a->children, 1));
  }
  return {};
}

std::string AttributoDi(Nodo n, std::string_view percorso, std::string_view nome) {
  return Attributo(Primo(n, percorso), nome);
}

std::string Testo(Nodo n) {
  if (!n) return {};
  // An element with one text child: its content as it is.
  xmlNodePtr c = n->children;
  if (c && !c->next && c->type == XML_TEXT_NODE && c->content) {
    return reinterpret_cast<const char*>(c->content);
  }
  return Possiedi(xmlNodeGetContent(n));
}

std::string TestoDi(Nodo n, std::string_view percorso) {
  return Testo(Primo(n, percorso));
}

Nodo Antenato(Nodo n, int livelli) {
  for (int i = 0; i < livelli && n; ++i) {
    n = n->parent;
    if (n && n->type != XML_ELEMENT_NODE) return nullptr;
  }
  return n;
}

Nodo ElementoPrecedente(Nodo n) {
  for (Nodo p = n ? n->prev : nullptr; p; p = p->prev) {
    if (p->type == XML_ELEMENT_NODE) return p;
  }
  return nullptr;
}

Nodo ElementoSeguente(Nodo n) {
  for (Nodo s = n ? n->next : nullptr; s; s = s->next) {
    if (s->type == XML_ELEMENT_NODE) return s;
  }
  return nullptr;
}

std::string Serializza(Nodo n) {
  return util::clsXML::SalvaNodo(n);
}

std::string Minuscolo(std::string_view testo) {
  std::string out(testo);
  for (char& c : out) c = MinuscolaAscii(c);
  return out;
}

}  // namespace qzkiro::cda
