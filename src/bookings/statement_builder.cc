#include "bookings/statement_builder.h"

#include "console.h"
#include "run_state.h"

namespace {

struct Field {
  size_t pos;  // 0-based
  size_t len;
};
constexpr Field kAsw{0, 13};
constexpr Field kDtm{13, 6};
constexpr Field kUhr{19, 6};
constexpr Field kLes{26, 2};
constexpr Field kZus{28, 1};

std::string_view Get(std::string_view record, Field field) {
  return record.substr(field.pos, field.len);
}

// Text that goes inside a '...' literal: a quote in it is doubled, so it
// stays data.
void AppendLiteralText(Text* out, std::string_view text) {
  for (char c : text) {
    if (c == '\'')
      out->push_back('\'');
    out->push_back(c);
  }
}

std::string_view TranslateCode(std::string_view zus) {
  switch (zus[0]) {
    case '1':
      return "100";
    case 'G':
    case 'Z':
    case 'U':
    case 'B':
    case 'S':
      return "200";
    case 'A':
      return "201";
    default:
      return zus;
  }
}

void AppendSequenceText(Text* out) {
  AppendZeroPadded(out, SequenceNumber, 3);
}

void AppendOracle(std::string_view record, std::string_view code, Text* out) {
  out->append(
      "INSERT INTO VORKALIN.Vrk402Zpk "
      "(ZpkTrm, ZpkAsw, ZpkDtm, ZpkUhr, ZpkLes, ZpkZus, ZpkLfd) "
      "VALUES('");
  AppendLiteralText(out, TerminalName);
  out->append("', '");
  AppendLiteralText(out, TrimRight(Get(record, kAsw)));
  out->append("', to_date('");
  AppendLiteralText(out, Get(record, kDtm));
  out->append("','ddmmyy'), to_date('");
  AppendLiteralText(out, Get(record, kUhr));
  out->append("','hh24miss'), ");
  out->append(Get(record, kLes));
  out->append(", ");
  out->append(code);
  out->append(", '");
  AppendSequenceText(out);
  out->append("')");
}

// Two-digit groups of a six-digit field joined by `separator`: "150306"
// becomes "15.03.06".
void AppendGroups(Text* out, std::string_view six, char separator) {
  AppendLiteralText(out, six.substr(0, 2));
  out->push_back(separator);
  AppendLiteralText(out, six.substr(2, 2));
  out->push_back(separator);
  AppendLiteralText(out, six.substr(4, 2));
}

void AppendMssql(std::string_view record, std::string_view code, Text* out) {
  const std::string_view dtm = Get(record, kDtm);
  out->append(
      "INSERT INTO VORKALIN.VRK402ZPK"
      "(ZpkTrm, ZpkLes, ZpkDtm, ZpkUhr, ZpkAsw, ZpkZus, "
      " ZpkFcd, ZpkMld, ZpkDat, ZpkLfd) "
      "VALUES('");
  AppendLiteralText(out, TerminalName);
  out->append("', ");
  out->append(Get(record, kLes));
  // The booking date at midnight.
  out->append(", CONVERT(DATETIME, CONVERT(varchar(10), CONVERT(datetime, '");
  AppendGroups(out, dtm, '.');
  // The first day of the booking's month, with the booking time.
  out->append(
      "', 4), 120), 120), CONVERT(DATETIME, CONVERT(varchar(10), "
      "CONVERT(datetime, '01.");
  AppendLiteralText(out, dtm.substr(2, 2));
  out->push_back('.');
  AppendLiteralText(out, dtm.substr(4, 2));
  out->append("', 4), 120) + ' ");
  AppendGroups(out, Get(record, kUhr), ':');
  out->append("', 120), '");
  AppendLiteralText(out, TrimRight(Get(record, kAsw)));
  out->append("', ");
  out->append(code);
  out->append(", NULL, NULL, GETDATE(), '");
  AppendSequenceText(out);
  out->append("')");
}

}  // namespace

bool HasBookingCode(std::string_view record) {
  return record.size() >= kRecordLength && Get(record, kZus) != " ";
}

void BuildStatement(std::string_view record, Text* statement) {
  statement->clear();
  if (DebugMode)
    Print({"  Satz   = '", record, "'\n"});
  if (!HasBookingCode(record))
    return;
  SequenceNumber = SequenceNumber % 999 + 1;
  const std::string_view code = TranslateCode(Get(record, kZus));
  if (DbSystem == "ORACLE") {
    AppendOracle(record, code, statement);
  } else if (DbSystem == "MSSQL") {
    AppendMssql(record, code, statement);
  }
}

const char* RefusalReason(std::string_view record) {
  // Besides the quote, what could open an identifier or a comment that a
  // later literal closes, which would turn that literal's content into SQL.
  constexpr std::string_view kOpeners = "'\"`[/*";
  // A line comment ends at a line break, which a later literal may hold: the
  // rest of that literal would then be read as SQL.
  constexpr std::string_view kLineComment = "--";
  const std::string_view unquoted[] = {Get(record, kLes), Get(record, kZus)};
  for (std::string_view field : unquoted) {
    if (field.find_first_of(kOpeners) != std::string_view::npos ||
        field.find(kLineComment) != std::string_view::npos) {
      return "Satz nicht gesendet: Sonderzeichen in Leser (Stelle 27-28) "
             "oder Buchungsart (Stelle 29)";
    }
  }
  return nullptr;
}
