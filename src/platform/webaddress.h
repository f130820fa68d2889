#pragma once

#include <QString>

// True when the address text's scheme is http or https (in any letter case):
// such addresses load in a browser pane; any other scheme belongs to the
// desktop's handler for it.
bool isWebAddress(const QString& address);
