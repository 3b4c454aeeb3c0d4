#include "setupcore/Errors.h"

namespace setupcore {

const char kListIndexError[] = "List index out of bounds";
const char kInsertLineError[] = "Unable to insert a line";

}  // namespace setupcore
