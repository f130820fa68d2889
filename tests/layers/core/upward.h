#include "app/qevquery.h" // the bottom layer reaching to the top
