#pragma once

#include <QString>

// True only for the administration password exactly: same characters, same
// letter case, same length, blanks included.
bool isAdminPassword(const QString& typed);
