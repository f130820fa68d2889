#pragma once

#include "favourites/favouriteslots.h"

#include <array>

// The six ping buttons by the names of the controls they use. They ping alike
// and differ only in where the host comes from and where the outcome goes.
namespace ping {

enum PingCommandId { Ut99Query, Ut99Favourites, Ut2004Query, Ut2004Favourites, Ut3Query, Ut3Favourites, CommandCount };

struct PingCommand {
    const char* button;
    // A query tab's host field, which receives the dotted address...
    const char* hostField;
    // ...or the favourites whose chosen slot's address is pinged (nothing is written back).
    const favourites::SlotTable* favourites;
    const char* resultField;
    const char* timeField;
    const char* clearedLabel;        // cleared with the two fields
    const char* resolveFailureLabel; // receives the look-up's error number
    const char* statusLabel;         // receives the echo's error number
    const char* answeredWord;
    const char* unansweredWord;
};

inline constexpr char kResolveFailureWord[] = "Failure";
inline constexpr int kTimeoutMs = 1000;

inline constexpr std::array<PingCommand, CommandCount> kPingCommands{{
    {"cmdPing", "txtNameOrIP", nullptr, "txtText4(0)", "txtText4(1)", "lblStatus", "lblStatus", "lblStatus",
     "Ping Result: Success", "Ping Result: Failure"},
    {"cmdPing2", nullptr, &favourites::kUt99Slots, "txtText4(3)", "txtText4(2)", "lblStatus", "lblStatus", "lblStatus",
     "Ping Result: Success", "Ping Result: Failure"},
    {"cmdping04", "txt04Server", nullptr, "txt04ping(0)", "txt04ping(1)", "ut04", "ut042", "lblUt3", "Success",
     "Failure"},
    {"cmdping042", nullptr, &favourites::kUt2004Slots, "txt04ping(2)", "txt04ping(3)", "ut042", "ut042", "ut042",
     "Success", "Failure"},
    {"cmdpUT3", "ut3iptxt", nullptr, "txtpUT3(0)", "txtpUT3(1)", "lblUt32", "lblUt32", "lblUt3", "Success", "Failure"},
    {"cmdpUT32", nullptr, &favourites::kUt3Slots, "txtpUT3(2)", "txtpUT3(3)", "lblUt3", "lblUt3", "lblUt32", "Success",
     "Failure"},
}};

} // namespace ping
