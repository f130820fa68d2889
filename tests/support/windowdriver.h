#pragma once

#include "app/qevquery.h"
#include "app/tabstrip.h"
#include "fakeplatform.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>

#include <gtest/gtest.h>

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

    FakePlatform platform;
    std::unique_ptr<QevQuery> window;
};
