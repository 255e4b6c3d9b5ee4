#include "files/email_files.h"

namespace vezer {

// Play by e-mail writes nothing until its exchange is built.
void CreateOrderFile(Game&) {}
void RecordOrder(Game&, const TParancs&) {}
void CloseOrderFiles(Game&) {}

} // namespace vezer
