#pragma once

#include "qevquery.h"

// The window's handlers by the controls and timers they answer, in the order
// of the tables of query, favourites and ping they belong to.
struct QevQueryHandlers {
    // The handlers of each querying tab, in the order of query::kQueryTabs.
    struct QueryHandlers {
        void (QevQuery::*click)();
        void (QevQuery::*tick)();
        void (QevQuery::*lookup)();
    };
    static constexpr QueryHandlers kQueryHandlers[query::QueryTabCount] = {
        {&QevQuery::cmdBeginQuery_Click, &QevQuery::Timer1_Timer, &QevQuery::lookup},
        {&QevQuery::cmdBeginQuery2_Click, &QevQuery::Timer3_Timer, &QevQuery::lookup1},
        {&QevQuery::cmdBeginQuery04_Click, &QevQuery::Timer04_Timer, &QevQuery::lookup04},
        {&QevQuery::cmdBeginQuery04f_Click, &QevQuery::Timer041_Timer, &QevQuery::lookup04f},
        {&QevQuery::cmdBeginQueryut3_Click, &QevQuery::Timerut3_Timer, &QevQuery::lookuput3},
        {&QevQuery::cmdBeginQueryut3f_Click, &QevQuery::Timerut3f_Timer, &QevQuery::lookuput3f},
    };

    struct SaveHandlers {
        void (QevQuery::*click)();
        void (QevQuery::*tick)();
        std::optional<QString> (QevQuery::*writer)();
    };
    static constexpr SaveHandlers kSaveHandlers[favourites::SaveTabCount] = {
        {&QevQuery::cmdSaveChanges_Click, &QevQuery::Timer2_Timer, &QevQuery::lookup2},
        {&QevQuery::cmdSaveChanges04f_Click, &QevQuery::Timer042_Timer, &QevQuery::lookup042},
        {&QevQuery::cmdSaveChangesut3_Click, &QevQuery::Timerut3s_Timer, &QevQuery::lookuput3s},
    };

    static constexpr void (QevQuery::*kPingHandlers[ping::CommandCount])() = {
        &QevQuery::cmdPing_Click,    &QevQuery::cmdPing2_Click, &QevQuery::cmdping04_Click,
        &QevQuery::cmdping042_Click, &QevQuery::cmdpUT3_Click,  &QevQuery::cmdpUT32_Click,
    };

    // Controls whose click (or choice) has a handler of its own.
    struct ClickHandler {
        const char* control;
        void (QevQuery::*handler)();
    };
    static constexpr ClickHandler kClickHandlers[] = {
        {"Combo1", &QevQuery::Combo1_Click},
        {"Combo2", &QevQuery::Combo2_Click},
        {"Combo3", &QevQuery::Combo3_Click},
        {"cmdLaunchGame", &QevQuery::cmdLaunchGame_Click},
        {"cmdLaunchGame2", &QevQuery::cmdLaunchGame2_Click},
        {"cmdA1", &QevQuery::cmdA1_Click},
        {"cmdA2", &QevQuery::cmdA2_Click},
        {"lblA1", &QevQuery::lblA1_Click},
        {"lblA2", &QevQuery::lblA2_Click},
        {"lblA4", &QevQuery::lblA4_Click},
        {"lblQev", &QevQuery::lblQev_Click},
        {"cmdAdminUT3", &QevQuery::cmdAdminUT3_Click},
    };
};
