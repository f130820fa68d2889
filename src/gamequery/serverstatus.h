#pragma once

#include "core/game.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

// What a game server says about itself, whichever protocol it spoke.
namespace gamequery {

struct Colour {
    unsigned char red = 0, green = 0, blue = 0;
    QString name() const; // "#rrggbb"
    bool operator==(const Colour&) const = default;
};

// Text that may carry colour codes (UT2004 names): runs of text, each with the
// colour set before it, if any. plain() is the text without the codes.
struct RichText {
    struct Run {
        std::optional<Colour> colour;
        QString text;
        bool operator==(const Run&) const = default;
    };
    std::vector<Run> runs;

    QString plain() const;
    static RichText fromPlain(const QString& text);
    bool operator==(const RichText&) const = default;
};

struct Player {
    RichText name;
    int score = 0;
    int ping = 0;
    std::optional<int> team; // 0 red, 1 blue, ...; none outside team games
    bool operator==(const Player&) const = default;
};

struct Team {
    QString name;
    double score = 0;
    std::optional<int> size;
    bool operator==(const Team&) const = default;
};

struct ServerStatus {
    RichText name;
    QString map;
    QString gameType;
    int playerCount = 0;
    int maxPlayers = 0;
    std::optional<bool> password;
    std::vector<Player> players;
    std::vector<Team> teams;
    std::vector<std::pair<QString, QString>> rules; // as the server lists them, each key once
    // Some of the reply is missing (players, rules or packets): what is here is real.
    bool partial = false;
};

// Each key once: a key listed again adds a value it did not have yet to the
// first ("A, B"), as UT2004 lists each of its mutators.
std::vector<std::pair<QString, QString>> oneRulePerKey(const std::vector<std::pair<QString, QString>>& listed);

} // namespace gamequery
