# Checks AdminPassword and turns it into AdminPasswordCodes, the masked bytes
# the program is built with ("0xc7, 0x9a, ..."): each character's code XOR
# (0x35 + 7 * position) in the low seven bits, the high bit set, so that no
# run of its bytes reads as text in any encoding. Also runs on its own as a
# check: cmake -DAdminPassword=... -P cmake/AdminPassword.cmake
string(LENGTH "${AdminPassword}" password_bytes)
if(NOT password_bytes EQUAL 11 OR NOT AdminPassword MATCHES "^[ -~]+$")
  message(FATAL_ERROR "AdminPassword must be exactly 11 ASCII characters (letters, digits, marks or blanks)")
endif()
string(HEX "${AdminPassword}" password_hex)
set(AdminPasswordCodes "")
foreach(position RANGE 10)
  math(EXPR hex_at "2 * ${position}")
  string(SUBSTRING "${password_hex}" ${hex_at} 2 code)
  math(EXPR masked "((0x${code} ^ (0x35 + 7 * ${position})) & 0x7F) | 0x80" OUTPUT_FORMAT HEXADECIMAL)
  list(APPEND AdminPasswordCodes "${masked}")
endforeach()
list(JOIN AdminPasswordCodes ", " AdminPasswordCodes)
