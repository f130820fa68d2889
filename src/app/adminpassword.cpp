#include "adminpassword.h"

#include "buildconfig.h"

#include <array>
#include <cstdint>

bool isAdminPassword(const QString& typed)
{
    // The password is in the program only masked (see cmake/AdminPassword.cmake),
    // and is compared character by character, never joined into one string.
    static constexpr std::array<std::uint8_t, 11> kMasked = {UTQ_ADMIN_PASSWORD_CODES};
    static volatile std::uint8_t maskStart = 0x35; // read at run time: the compiler cannot unmask ahead
    if (typed.size() != static_cast<qsizetype>(kMasked.size()))
        return false;
    bool same = true;
    for (std::size_t i = 0; i < kMasked.size(); ++i) {
        const auto mask = static_cast<std::uint8_t>((maskStart + 7 * i) & 0x7F);
        same &= typed[static_cast<qsizetype>(i)].unicode() == ((kMasked[i] & 0x7F) ^ mask);
    }
    return same;
}
