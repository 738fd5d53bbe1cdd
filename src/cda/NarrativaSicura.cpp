#include "cda/NarrativaSicura.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "cda/LetturaTag.h"
#include "cda/RegoleHtml.h"
#include "cda/TestoHtml.h"

namespace qzkiro::cda {

namespace {

constexpr auto npos = std::string_view::npos;

// An attribute value as written back between double quotes.
std::string TraVirgolette(std::string_view valore) {
  std::string out;
  out.reserve(valore.size());
  for (std::size_t at = 0; at < valore.size(); ++at) {
    const char c = valore[at];
    if (c == '"') {
      out += "&quot;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '&' && LunghezzaRiferimento(valore, at) == 0) {
      out += "&amp;";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// Finds the ends of comments, instructions and CDATA sections for a reading
// that only moves forward. Each search is remembered: the first end at or
// after a point is also the first one at or after any later point before it,
// and a missing end stays missing, so the searches of one text read it about
// once, whatever it holds.
class Chiusure {
 public:
  explicit Chiusure(std::string_view t) : t_(t) {}

  // The first `chiusura` ("-->", "?>" or "]]>") at or after `da`; npos when none.
  std::size_t Trova(std::string_view chiusura, std::size_t da) {
    Ricordo& r = chiusura == "-->" ? commento_ : chiusura == "?>" ? istruzione_ : cdata_;
    if (!r.cercato || (r.trovato != npos && r.trovato < da)) {
      r = {true, t_.find(chiusura, da)};
    }
    return r.trovato;
  }

 private:
  struct Ricordo {
    bool cercato = false;
    std::size_t trovato = npos;
  };
  std::string_view t_;
  Ricordo commento_, istruzione_, cdata_;
};

// Reads a text as XML is written and writes what of it may be shown.
class Filtro {
 public:
  explicit Filtro(std::string_view t) : t_(t), chiusure_(t) {}

  std::string Esegui() {
    out_.reserve(t_.size());
    std::size_t at = 0;
    while (at < t_.size()) {
      const std::size_t segno = t_.find_first_of("<&", at);
      out_.append(t_.substr(at, segno - at));
      if (segno == npos) break;
      at = t_[segno] == '<' ? Marcatura(segno) : Riferimento(segno);
    }
    return std::move(out_);
  }

 private:
  std::size_t Riferimento(std::size_t at) {
    const std::size_t n = LunghezzaRiferimento(t_, at);
    out_.append(n == 0 ? std::string_view("&amp;") : t_.substr(at, n));
    return at + std::max<std::size_t>(n, 1);
  }

  // The markup at `lt` written as it may be shown; the position past it.
  std::size_t Marcatura(std::size_t lt) {
    if (auto fine = FineNascosta(lt)) return *fine;
    if (auto sezione = Cdata(lt)) {
      out_ += TestoHtml(sezione->first);
      return sezione->second;
    }
    auto tag = LeggiTag(t_, lt);
    if (!tag) {
      out_ += "&lt;";
      return lt + 1;
    }
    if (!ElementoAttivo(tag->nome)) {
      ScriviTag(*tag);
      return tag->fine;
    }
    return tag->chiusura || tag->vuoto ? tag->fine : FineElemento(tag->fine);
  }

  // Past the comment or processing instruction at `lt`; nullopt when there
  // is none, or it never ends.
  std::optional<std::size_t> FineNascosta(std::size_t lt) {
    for (auto [inizio, fine] :
         {std::pair<std::string_view, std::string_view>{"<!--", "-->"}, {"<?", "?>"}}) {
      if (t_.compare(lt, inizio.size(), inizio) != 0) continue;
      const std::size_t trovata = chiusure_.Trova(fine, lt + inizio.size());
      if (trovata == npos) return std::nullopt;
      return trovata + fine.size();
    }
    return std::nullopt;
  }

  // The text of the CDATA section at `lt` and the position past it; nullopt
  // when there is none, or it never ends.
  std::optional<std::pair<std::string_view, std::size_t>> Cdata(std::size_t lt) {
    constexpr std::string_view kInizio = "<![CDATA[";
    if (t_.compare(lt, kInizio.size(), kInizio) != 0) return std::nullopt;
    const std::size_t fine = chiusure_.Trova("]]>", lt + kInizio.size());
    if (fine == npos) return std::nullopt;
    return std::pair(t_.substr(lt + kInizio.size(), fine - lt - kInizio.size()), fine + 3);
  }

  // Past the end tag that closes the element whose content begins at `at`;
  // the end of the text when it is never closed.
  std::size_t FineElemento(std::size_t at) {
    for (int aperti = 1;;) {
      const std::size_t lt = t_.find('<', at);
      if (lt == npos) return t_.size();
      if (auto fine = FineNascosta(lt)) {
        at = *fine;
      } else if (auto sezione = Cdata(lt)) {
        at = sezione->second;
      } else if (auto tag = LeggiTag(t_, lt)) {
        at = tag->fine;
        if (tag->chiusura && --aperti == 0) return at;
        if (!tag->chiusura && !tag->vuoto) ++aperti;
      } else {
        at = lt + 1;
      }
    }
  }

  void ScriviTag(const Tag& tag) {
    out_ += tag.chiusura ? "</" : "<";
    out_ += tag.nome;
    for (const auto& [nome, valore] : tag.attributi) {
      if (!AttributoAmmesso(nome, Decodifica(valore))) continue;
      out_.append(" ").append(nome).append("=\"").append(TraVirgolette(valore)).append("\"");
    }
    out_ += tag.vuoto ? "/>" : ">";
  }

  std::string_view t_;
  Chiusure chiusure_;
  std::string out_;
};

}  // namespace

std::string NarrativaSicura(std::string_view xml) {
  return Filtro(xml).Esegui();
}

}  // namespace qzkiro::cda
