#include "adminpassword.h"

#include "buildconfig.h"

#include <array>

bool isAdminPassword(const QString& typed)
{
    // Joined afresh from its character codes at every check: the password is
    // never one string in the program's data.
    static constexpr std::array<char16_t, 11> kCodes = {UTQ_ADMIN_PASSWORD_CODES};
    QString expected;
    for (const char16_t code : kCodes)
        expected += QChar(code);
    return typed == expected;
}
