#include "storage/tamix_error.h"

namespace tamix {

TamixError::TamixError(int number, const std::string& description)
    : std::runtime_error(description), number_(number) {}

}  // namespace tamix
