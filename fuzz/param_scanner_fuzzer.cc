// Input: a statement text. The scan must end, take away nothing but colons,
// never make the text longer, and name a parameter only when one stands in
// the text. The quick check that lets a statement skip the scan must say so
// only when the scan would send it unchanged.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "db/param_scanner.h"
#include "fuzz_check.h"

namespace {

std::string WithoutColons(std::string_view text) {
  std::string rest(text);
  rest.erase(std::remove(rest.begin(), rest.end(), ':'), rest.end());
  return rest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view sql(reinterpret_cast<const char*>(data), size);
  Text to_send = "left over from an earlier statement";
  const std::optional<Text> name = ScanParameters(sql, &to_send);

  Require(to_send.size() <= sql.size(), "the text sent is never longer");
  Require(WithoutColons(to_send) == WithoutColons(sql),
          "only colons are taken away");
  if (sql.find("::") == std::string_view::npos) {
    Require(to_send == sql, "without a doubled colon the text is unchanged");
  }
  if (name) {
    Require(sql.find(":" + *name) != std::string_view::npos,
            "the parameter named stands in the text");
    Require(name->find_first_of(" ,;)\r\n") == Text::npos,
            "a parameter name ends at its delimiters");
  }
  if (ColonsOnlyInLiterals(sql)) {
    Require(!name && to_send == sql,
            "a statement that skips the scan is one the scan leaves as it is");
  }
  return 0;
}
