#pragma once

#include "app/alertdialog.h"
#include "app/qevquery.h"
#include "app/tabstrip.h"
#include "fakeplatform.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include <memory>

// A started main window on fake platform parts, driven the way a user drives it.
class WindowTest : public ::testing::Test {
public:
    void SetUp() override
    {
        window = std::make_unique<QevQuery>(platform.parts());
        window->Form_Load();
    }

    template <typename T = QWidget> T* get(const char* name) const
    {
        T* object = qobject_cast<T*>(window->control(QString::fromLatin1(name)));
        if (!object)
            ADD_FAILURE() << "no control " << name;
        return object;
    }
    QLineEdit* field(const char* name) const { return get<QLineEdit>(name); }
    FakeTickTimer* timer(const char* name) const { return get<FakeTickTimer>(name); }
    FakeBrowserPane* pane(const char* name) const { return get<FakeBrowserPane>(name); }
    QProgressBar* bar(const char* name) const { return get<QProgressBar>(name); }

    // The tab whose page holds the control, or -1 for the window itself.
    int tabOf(const QWidget* widget) const
    {
        for (int i = 0; i < window->tabStrip()->count(); ++i) {
            if (window->tabStrip()->page(i)->isAncestorOf(widget))
                return i;
        }
        return -1;
    }

    // Brings the control's tab to the front, as a user would, and clicks it.
    void click(const char* name)
    {
        auto* button = get<QAbstractButton>(name);
        window->tabStrip()->setCurrentIndex(tabOf(button));
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void fire(const char* timerName, int ticks)
    {
        for (int i = 0; i < ticks; ++i)
            timer(timerName)->fire();
    }

    // A user's steps, one text each: "type FIELD TEXT", "choose OPTION",
    // "click BUTTON", "tick TIMER N", "pick COMBO INDEX", and "see CONTROL TEXT"
    // for what a field, label, button, frame or list shows, a bar's value, a
    // timer's "on"/"off", or a pane's addresses joined by " | ". TEXT runs to the end.
    void story(const std::vector<const char*>& steps)
    {
        for (const char* step : steps) {
            SCOPED_TRACE(step);
            const QString text = QString::fromUtf8(step);
            const QString verb = text.section(QLatin1Char(' '), 0, 0);
            const QByteArray name = text.section(QLatin1Char(' '), 1, 1).toLatin1();
            const QString rest = text.section(QLatin1Char(' '), 2);
            if (verb == QLatin1String("type"))
                field(name)->setText(rest);
            else if (verb == QLatin1String("choose"))
                get<QRadioButton>(name)->setChecked(true);
            else if (verb == QLatin1String("click"))
                click(name);
            else if (verb == QLatin1String("tick"))
                fire(name, rest.toInt());
            else if (verb == QLatin1String("pick")) {
                get<QComboBox>(name)->setCurrentIndex(rest.toInt());
                emit get<QComboBox>(name)->activated(rest.toInt()); // as a click on the item does
            } else if (verb == QLatin1String("see"))
                EXPECT_EQ(shown(name), rest);
            else
                ADD_FAILURE() << "no such step";
        }
    }

    // Each story on a window of its own, fresh as at start; then checks.
    void stories(
        const std::vector<std::vector<const char*>>& all, const std::function<void()>& checks = [] {})
    {
        for (const auto& steps : all) {
            SetUp();
            story(steps);
            checks();
        }
    }

    // The named alert dialog, open and saying text, after sound from the program's folder.
    AlertDialog* expectAlert(const char* name, const QString& text, const char* sound)
    {
        EXPECT_EQ(platform.sounds.played.value(platform.sounds.played.size() - 1),
                  platform.directory + QLatin1Char('/') + QLatin1String(sound));
        AlertDialog* alert = window->openAlert(name);
        EXPECT_EQ(alert ? alert->lblAlert->text() : QStringLiteral("no %1 open").arg(QLatin1String(name)), text);
        return alert;
    }

    QString shown(const char* name) const
    {
        QObject* control = window->control(QString::fromLatin1(name));
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            return edit->text();
        if (auto* label = qobject_cast<QLabel*>(control))
            return label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            return button->text();
        if (auto* frame = qobject_cast<QGroupBox*>(control))
            return frame->title();
        if (auto* help = qobject_cast<QPlainTextEdit*>(control))
            return help->toPlainText();
        if (auto* combo = qobject_cast<QComboBox*>(control))
            return combo->currentText();
        if (auto* progress = qobject_cast<QProgressBar*>(control))
            return QString::number(progress->value());
        if (auto* ticker = qobject_cast<FakeTickTimer*>(control))
            return QLatin1String(ticker->isEnabled() ? "on" : "off");
        if (auto* browser = qobject_cast<FakeBrowserPane*>(control))
            return browser->navigations.join(QLatin1String(" | "));
        ADD_FAILURE() << "nothing to see in " << name;
        return {};
    }

    FakePlatform platform;
    std::unique_ptr<QevQuery> window;
};
