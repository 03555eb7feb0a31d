// The first family's stored-message commands: the standard ones and the list in PDU mode.
#include "phonesim/dialect.h"
#include "phonesim/standard_commands.h"

namespace phonesim {

void AddDialect1MessageCommands(Dialect& dialect)
{
    AddStandardMessageCommands(dialect);
    dialect.add("+CMGL", ListMessagesInPduMode);
}

} // namespace phonesim
