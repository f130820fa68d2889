#include "qevquery.h"

#include "adminpassword.h"
#include "alertdialog.h"
#include "buildconfig.h"
#include "favourites/favouritesfile.h"
#include "platform/browserpane.h"
#include "platform/ticktimer.h"
#include "platform/urlopener.h"
#include "qevqueryhandlers.h"
#include "querytabs/progressrun.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

using query::QueryTabId;

namespace {

// A text field's greatest length, which selects the whole of any text.
constexpr int kWholeText = 32767;

constexpr char kSavedMessage[] = "Changes Successfully Saved!";
constexpr char kNotSavedMessage[] = "Changes NOT Saved!";

} // namespace

void QevQuery::Form_Load()
{
    m_ping = std::make_unique<PingIPv4>(m_platform.network);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    SelectHostText();
    IniFile = favouritesFile(favourites::kUt99Slots);
    ReadIni();
    IniFile = favouritesFile(favourites::kUt3Slots);
    ReadIniut3();
    IniFile = favouritesFile(favourites::kUt2004Slots);
    ReadIni04();
    startWatching();
}

QString QevQuery::programFile(const char* name) const
{
    return m_platform.programDirectory.path() + QLatin1Char('/') + QLatin1String(name);
}

QString QevQuery::favouritesFile(const favourites::SlotTable& table) const
{
    return m_platform.programDirectory.favouritesPath() + QLatin1Char('/') + QLatin1String(table.fileName);
}

void QevQuery::Form_Unload()
{
    // Ends the program at once: no run ticks again and nothing is written.
    for (QObject* object : std::as_const(m_controls)) {
        if (auto* timer = qobject_cast<TickTimer*>(object))
            timer->setEnabled(false);
    }
    QCoreApplication::quit();
}

void QevQuery::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void QevQuery::SelectHostText()
{
    auto* host = widget<QLineEdit>("txtNameOrIP");
    host->setFocus();
    host->setSelection(0, kWholeText);
}

void QevQuery::cmdBeginQuery_Click() { beginQuery(query::Ut99Query); }
void QevQuery::cmdBeginQuery2_Click() { beginQuery(query::Ut99Favourites); }
void QevQuery::cmdBeginQuery04_Click() { beginQuery(query::Ut2004Query); }
void QevQuery::cmdBeginQuery04f_Click() { beginQuery(query::Ut2004Favourites); }
void QevQuery::cmdBeginQueryut3_Click() { beginQuery(query::Ut3Query); }
void QevQuery::cmdBeginQueryut3f_Click() { beginQuery(query::Ut3Favourites); }

void QevQuery::Timer1_Timer() { queryTick(query::Ut99Query); }
void QevQuery::Timer3_Timer() { queryTick(query::Ut99Favourites); }
void QevQuery::Timer04_Timer() { queryTick(query::Ut2004Query); }
void QevQuery::Timer041_Timer() { queryTick(query::Ut2004Favourites); }
void QevQuery::Timerut3_Timer() { queryTick(query::Ut3Query); }
void QevQuery::Timerut3f_Timer() { queryTick(query::Ut3Favourites); }

void QevQuery::lookup() { loadStatusPage(query::Ut99Query); }
void QevQuery::lookup1() { loadStatusPage(query::Ut99Favourites); }
void QevQuery::lookup04() { loadStatusPage(query::Ut2004Query); }
void QevQuery::lookup04f() { loadStatusPage(query::Ut2004Favourites); }
void QevQuery::lookuput3() { loadStatusPage(query::Ut3Query); }
void QevQuery::lookuput3f() { loadStatusPage(query::Ut3Favourites); }

void QevQuery::Combo1_Click() { choosePreset(query::kPresetLists[0]); }
void QevQuery::Combo2_Click() { choosePreset(query::kPresetLists[1]); }
void QevQuery::Combo3_Click() { choosePreset(query::kPresetLists[2]); }

void QevQuery::choosePreset(const query::PresetList& list)
{
    const auto* combo = widget<QComboBox>(list.combo);
    const auto rows = query::presetRows(list);
    for (std::size_t field = 0; field < list.fields.size() && list.fields[field]; ++field) {
        // The chosen index is read afresh for every field; outside the table nothing is written.
        const int index = combo->currentIndex();
        if (index >= 0 && static_cast<std::size_t>(index) < rows.size())
            setText(list.fields[field], rows[static_cast<std::size_t>(index)][field]);
    }
}

void QevQuery::cmdLaunchGame_Click() { launchGame(query::kLaunchButtons[0]); }
void QevQuery::cmdLaunchGame2_Click() { launchGame(query::kLaunchButtons[1]); }

void QevQuery::launchGame(const query::LaunchButton& launch)
{
    const query::QueryTab& tab = query::kQueryTabs[launch.tab];
    QString host, port;
    if (!tab.favourites) {
        host = text(tab.fields[0]);
        port = text(launch.portField);
    } else if (const auto row = favourites::chosenSlot(*tab.favourites,
                                                       [this](const char* option) { return isOptionSet(option); })) {
        const auto& fields = tab.favourites->rows[static_cast<std::size_t>(*row)].fields;
        host = text(fields[favourites::Host]);
        port = text(fields[favourites::Port]);
    }
    widget<BrowserPane>(tab.pane)->Navigate(query::gameAddress(host, port));
    blankPingDisplay(tab);
}

void QevQuery::cmdA1_Click()
{
    auto* password = widget<QLineEdit>("txtPooPooPeePee");
    password->show();
    widget<QWidget>("cmdA1")->hide();
    widget<QWidget>("cmdA2")->show();
    password->setFocus();
}

void QevQuery::cmdA2_Click()
{
    if (!isAdminPassword(text("txtPooPooPeePee"))) {
        m_platform.sounds.play(programFile("HellNo.wav"));
        showAlert(AlertDialog::kAlert.name);
        return;
    }
    for (const char* name : {"txtPooPooPeePee", "cmdA2"})
        widget<QWidget>(name)->hide();
    for (const char* name : {"lblA1", "lblA2", "lblA4"})
        widget<QWidget>(name)->show();
    widget<QWidget>("lblA3")->hide();
}

void QevQuery::lblA1_Click() { openLink(weblinks::ServerStopStartUs); }
void QevQuery::lblA2_Click() { openLink(weblinks::RemoteServerUs); }
void QevQuery::lblA4_Click() { openLink(weblinks::RemoteServerUk); }
void QevQuery::lblQev_Click() { openLink(weblinks::MakersSite); }
void QevQuery::cmdAdminUT3_Click() { openLink(weblinks::Ut3Admin); }

void QevQuery::openLink(weblinks::LinkId id)
{
    const weblinks::WebLink& link = weblinks::kLinks[id];
    if (widget<QWidget>(link.control)->isHidden())
        return;
    m_platform.browser.open(weblinks::url(link));
}

void QevQuery::cmdPing_Click() { pingCommand(ping::Ut99Query); }
void QevQuery::cmdPing2_Click() { pingCommand(ping::Ut99Favourites); }
void QevQuery::cmdping04_Click() { pingCommand(ping::Ut2004Query); }
void QevQuery::cmdping042_Click() { pingCommand(ping::Ut2004Favourites); }
void QevQuery::cmdpUT3_Click() { pingCommand(ping::Ut3Query); }
void QevQuery::cmdpUT32_Click() { pingCommand(ping::Ut3Favourites); }

void QevQuery::pingCommand(ping::PingCommandId id)
{
    const ping::PingCommand& command = ping::kPingCommands[id];
    setText(command.resultField, QString());
    setText(command.clearedLabel, QString());
    setText(command.timeField, QString());
    // The cleared display shows while the look-up and the echo block: painted
    // now and sent to the display server, which otherwise waits for the event loop.
    repaint();
    QGuiApplication::sync();

    QString host;
    if (command.hostField) {
        host = text(command.hostField);
    } else if (const auto row = favourites::chosenSlot(*command.favourites,
                                                       [this](const char* option) { return isOptionSet(option); })) {
        host = text(command.favourites->rows[static_cast<std::size_t>(*row)].fields[favourites::Host]);
    }

    QString address;
    if (const std::int32_t code = m_ping->Resolve(host, address); code != 0) {
        setText(command.resultField, QLatin1String(ping::kResolveFailureWord));
        setText(command.resolveFailureLabel, QString::number(code));
    } else {
        if (command.hostField)
            setText(command.hostField, address);
        const bool answered = m_ping->Ping(address, ping::kTimeoutMs, QString());
        setText(command.resultField, QLatin1String(answered ? command.answeredWord : command.unansweredWord));
        setText(command.timeField, answered ? roundTripText(m_ping->RoundTripMicroseconds) : QStringLiteral("n/a"));
        if (m_ping->Reason != 1)
            setText(command.statusLabel, QString::number(m_ping->Status));
    }
    SelectHostText();
}

QString QevQuery::GetIni(const QString& Section, const QString& Key)
{
    return m_platform.profiles.read(IniFile, Section, Key);
}

void QevQuery::ReadIni() { readFavourites(favourites::kUt99Slots); }
void QevQuery::ReadIni04() { readFavourites(favourites::kUt2004Slots); }
void QevQuery::ReadIniut3() { readFavourites(favourites::kUt3Slots); }

void QevQuery::readFavourites(const favourites::SlotTable& table)
{
    // Every field is set, found or not, so none keeps an earlier text.
    for (const favourites::Slot& slot : table.rows) {
        for (std::size_t column = 0; column < favourites::ColumnCount; ++column) {
            if (slot.fields[column])
                setText(slot.fields[column],
                        GetIni(QLatin1String(favourites::kSection), QLatin1String(slot.keys[column])));
        }
    }
}

void QevQuery::cmdSaveChanges_Click() { widget<TickTimer>("Timer2")->setEnabled(true); }
void QevQuery::cmdSaveChanges04f_Click() { widget<TickTimer>("Timer042")->setEnabled(true); }
void QevQuery::cmdSaveChangesut3_Click() { widget<TickTimer>("Timerut3s")->setEnabled(true); }

void QevQuery::Timer2_Timer() { saveTick(favourites::Ut99Save); }
void QevQuery::Timer042_Timer() { saveTick(favourites::Ut2004Save); }
void QevQuery::Timerut3s_Timer() { saveTick(favourites::Ut3Save); }

std::optional<QString> QevQuery::lookup2() { return writeFavourites(favourites::kUt99Slots); }
std::optional<QString> QevQuery::lookup042() { return writeFavourites(favourites::kUt2004Slots); }
std::optional<QString> QevQuery::lookuput3s() { return writeFavourites(favourites::kUt3Slots); }

std::optional<QString> QevQuery::writeFavourites(const favourites::SlotTable& table)
{
    // The file start-up reads, whatever the working folder.
    const QByteArray content = favourites::fileContent(table, [this](const char* field) { return text(field); });
    return m_platform.files.replace(favouritesFile(table), content);
}

void QevQuery::saveTick(favourites::SaveTabId id)
{
    const favourites::SaveTab& tab = favourites::kSaveTabs[id];
    std::optional<QString> error;
    progressTick(
        tab.timer, tab.bar, [&] { error = (this->*QevQueryHandlers::kSaveHandlers[id].writer)(); },
        [&] { confirmSave(id, error); });
}

void QevQuery::confirmSave(favourites::SaveTabId id, const std::optional<QString>& error)
{
    m_platform.sounds.play(programFile(error ? "HellNo.wav" : "wickedsick.wav"));
    const favourites::SaveTab& tab = favourites::kSaveTabs[id];
    QString message =
        error ? QLatin1String(kNotSavedMessage) + QLatin1Char('\n') + *error : QLatin1String(kSavedMessage);
    // The UT2004 and UT3 tabs share a dialog: another game's failure stays on show.
    if (const AlertDialog* open = openAlert(tab.dialog)) {
        const QString shown = open->lblAlert->text();
        if (shown.startsWith(QLatin1String(kNotSavedMessage)) && !shown.contains(QLatin1String(tab.table->fileName)))
            message = shown + QLatin1Char('\n') + message;
    }
    if (!error) { // a start page on show lists the slots as saved now
        for (BrowserPane* pane : findChildren<BrowserPane*>())
            pane->ReloadIfShowing(QLatin1String(startRoute(tab.table->game).path));
    }
    AlertDialog* dialog = showAlert(tab.dialog);
    dialog->setMessage(message);
    dialog->cmdOK->hide();
    dialog->cmdOK2->show();
}

AlertDialog* QevQuery::showAlert(const char* name)
{
    const bool second = qstrcmp(name, AlertDialog::kAlert2.name) == 0;
    QPointer<AlertDialog>& dialog = second ? m_alert2 : m_alert;
    // A closed dialog may still await its deletion; it counts as gone.
    if (!dialog || !dialog->isVisible()) {
        dialog = new AlertDialog(second ? AlertDialog::kAlert2 : AlertDialog::kAlert, m_pixelsPerTwip, [this] {
            auto* password = widget<QLineEdit>("txtPooPooPeePee");
            if (password->isVisible()) {
                activateWindow();
                password->setFocus();
            }
        });
        dialog->Form_Load(frameGeometry());
    }
    dialog->show();
    dialog->raise();
    return dialog;
}

AlertDialog* QevQuery::openAlert(const char* name) const
{
    AlertDialog* dialog = qstrcmp(name, AlertDialog::kAlert2.name) == 0 ? m_alert2.data() : m_alert.data();
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

void QevQuery::beginQuery(QueryTabId tab) { widget<TickTimer>(query::kQueryTabs[tab].timer)->setEnabled(true); }

void QevQuery::queryTick(QueryTabId id)
{
    const query::QueryTab& tab = query::kQueryTabs[id];
    progressTick(tab.timer, tab.bar, [this, id] { (this->*QevQueryHandlers::kQueryHandlers[id].lookup)(); });
}

void QevQuery::progressTick(const char* timer, const char* bar, const std::function<void()>& work,
                            const std::function<void()>& after)
{
    auto* progress = widget<QProgressBar>(bar);
    const progressrun::Tick tick = progressrun::tick(static_cast<float>(progress->value()));
    if (!tick.finish) {
        progress->setValue(static_cast<int>(tick.value));
        return;
    }
    work();
    widget<TickTimer>(timer)->setEnabled(false);
    progress->setValue(0);
    if (after)
        after();
}

void QevQuery::loadStatusPage(QueryTabId id)
{
    const query::QueryTab& tab = query::kQueryTabs[id];
    const QString webHost =
        QString::fromUtf8(tab.webHost == query::WebHost::Main ? UTQ_MAIN_STATUS_HOST : UTQ_GAME_STATUS_HOST);
    widget<BrowserPane>(tab.pane)->Navigate(statusAddress(webHost, *tab.route, queryServer(tab)));
    blankPingDisplay(tab);
}

void QevQuery::blankPingDisplay(const query::QueryTab& tab)
{
    for (const char* field : tab.pingDisplay) {
        if (field)
            setText(field, QString());
    }
}

ServerFields QevQuery::queryServer(const query::QueryTab& tab) const
{
    const auto fieldText = [this](const char* name) { return name ? text(name) : QString(); };
    if (!tab.favourites)
        return {fieldText(tab.fields[0]), fieldText(tab.fields[1]), fieldText(tab.fields[2])};
    const auto row = favourites::chosenSlot(*tab.favourites, [this](const char* o) { return isOptionSet(o); });
    return row ? query::slotServer(*tab.favourites, *row, fieldText) : ServerFields{};
}
