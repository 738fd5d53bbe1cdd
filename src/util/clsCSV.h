#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::util {

// Reads a delimited text file into records and writes one record as a
// delimited line.
//
// Reading, line by line (CR LF or LF line ends; a UTF-8 BOM is skipped; a file
// that is not valid UTF-8 is read as ISO-8859-1):
// - an empty line outside a quoted field gives no record;
// - each line is split at the separator;
// - a field that starts with a double quote runs to the matching closing quote,
//   which must be followed by the separator or the end of the line; inside it a
//   doubled quote stands for one quote, and the field may span lines, joined
//   with CR LF. A quote anywhere else in a field is an ordinary character;
// - with RemoveCRLF, the line breaks of a quoted field become blanks and the
//   quoted field is trimmed of leading and trailing blanks.
// A malformed quoted field (text after its closing quote, or no closing quote
// before the end of the file) stops reading: Records() keeps the records read
// before it and LastError() is "Formato errato Riga: <L>, Colonna: <C>", where
// L is the 1-based line of the file on which that field starts and C is the
// 1-based position of that field in its record (the spreadsheet column).
class clsCSV {
 public:
  using Record = std::vector<std::string>;

  // The separator used when none is given: the one of CSV files made with
  // Italian regional settings.
  static constexpr std::string_view kSeparatoreDefault = ";";

  bool RemoveCRLF = false;

  // Names the file to read and forgets what was read before. An empty
  // separator means the default one.
  void Init(const std::string& file_name, std::string_view separatore = kSeparatoreDefault);

  // The file's records, read on first use.
  const std::vector<Record>& Records();

  // One record as a line: in each field double quotes are doubled and CR LF
  // becomes LF; a non-empty field is enclosed in `racchiuso_da` when that is
  // given; the fields are joined with `separatore`, or with this object's
  // separator when that is empty.
  std::string ToCSV(const Record& record, std::string_view separatore = {},
                    std::string_view racchiuso_da = {}) const;

  const std::string& Separatore() const { return separatore_; }
  const std::string& LastError() const { return last_error_; }

 private:
  void Leggi();

  std::string file_name_;
  std::string separatore_{kSeparatoreDefault};
  std::vector<Record> records_;
  bool letto_ = false;
  std::string last_error_;
};

}  // namespace qzkiro::util
