#!/bin/sh
# The administration password is nowhere in the program as text, in any
# encoding strings(1) reads; the build takes exactly 11 ASCII characters.
# Usage: adminpassword_test.sh PROGRAM PASSWORD SOURCE_DIR
program=$1 password=$2 source=$3
status=0
for encoding in s S b l B L; do
  if strings -a -e "$encoding" "$program" | grep -qF "$password"; then
    echo "strings -e $encoding finds the password in $program"
    status=1
  fi
done
check() { cmake -DAdminPassword="$1" -P "$source/cmake/AdminPassword.cmake" >/dev/null 2>&1; }
check 'Fr4gFest-99' || { echo "11 ASCII characters refused"; status=1; }
check 'with blanks' || { echo "11 ASCII characters with blanks refused"; status=1; }
for wrong in 'Fr4gFest-9' 'Fr4gFest-999' 'Fr4gFest-é' "$(printf 'Fr4gFest-9\t')"; do
  if check "$wrong"; then
    echo "accepted as a password: '$wrong'"
    status=1
  fi
done
exit $status
