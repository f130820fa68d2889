#pragma once

#include "hidden.h" // a header of the folder that no list names
