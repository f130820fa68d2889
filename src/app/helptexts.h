#pragma once

#include <QString>

// The about tabs' fixed help texts: lines joined by CR LF, with a final CR LF.
namespace helptexts {

QString ut99();   // txtTroubleshooting, 49 lines
QString ut2004(); // txtTroubleshooting_04, 28 lines
QString ut3();    // txtTroubleshooting_If, 38 lines

} // namespace helptexts
