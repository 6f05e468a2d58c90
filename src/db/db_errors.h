#ifndef KFX_DB_DB_ERRORS_H_
#define KFX_DB_DB_ERRORS_H_

// Errors of the database layer. The run reports every EDatabaseError with
// the statement that caused it and goes on with the next booking.

#include <stdexcept>
#include <string>

class EDatabaseError : public std::runtime_error {
 public:
  explicit EDatabaseError(const std::string& message)
      : std::runtime_error(message) {}
};

// An error the driver or the database reported; the message holds every
// diagnostic record, SQLSTATE and text.
class EDBEngineError : public EDatabaseError {
 public:
  using EDatabaseError::EDatabaseError;
};

#endif  // KFX_DB_DB_ERRORS_H_
