#ifndef KFX_RUN_CRLF_LINE_BREAKS_H_
#define KFX_RUN_CRLF_LINE_BREAKS_H_

#include <string>
#include <string_view>

// Line breaks as a Windows console program writes them in text mode: every
// line feed goes out as CR LF. A line feed that already follows a carriage
// return stays as it is, so the CR LF that ends a statement in an error
// block reads as one line break and not as CR CR LF. Pieces written one
// after the other are taken as one stream: a CR at the end of one piece
// pairs with a line feed at the start of the next.
class CrLfLineBreaks {
 public:
  // The converted bytes; valid until the next call. The buffer is kept, so
  // a long run of small pieces allocates nothing after the first few.
  std::string_view Convert(std::string_view bytes);

 private:
  std::string buffer_;
  bool after_carriage_return_ = false;
};

#endif  // KFX_RUN_CRLF_LINE_BREAKS_H_
