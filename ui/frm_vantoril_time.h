// SPDX-License-Identifier: MIT
#pragma once

#include "engine/working_values.h"
#include "runtime/message_service.h"
#include "ui/url_opener.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class QComboBox;
class QContextMenuEvent;
class QGroupBox;
class QInputMethodEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QShowEvent;
class QPushButton;

namespace vantoril {

class LinkLabel;
class ResultAnnouncer;

// The calculator's one window. Controls keep the names the event procedures
// use, as C++ members and as object names. Its work is spread over three
// files, one job each:
//   frm_vantoril_time.cpp  construction and the event procedures;
//   form_layout.cpp        the controls as a table, and the tab order;
//   key_filter.cpp         routing every typed character to its procedure.
class frmVantorilTime : public QWidget {
    Q_OBJECT

public:
    // Home page opened by the credits line.
    static const QUrl kHomePage;

    // A fixed-size window offers a title, minimise and close, never
    // maximise. Customised, so that decorations drawn by Qt itself (Wayland)
    // leave out the buttons not named here.
    static constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                    Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                                    Qt::WindowCloseButtonHint;

    // Services left null are the real ones: message boxes and the desktop browser.
    explicit frmVantorilTime(MessageService* messages = nullptr, UrlOpener* opener = nullptr,
                             QWidget* parent = nullptr);
    ~frmVantorilTime() override;
    frmVantorilTime(const frmVantorilTime&) = delete;
    frmVantorilTime& operator=(const frmVantorilTime&) = delete;

    [[nodiscard]] const WorkingValues& values() const { return values_; }

    // The font of every control that names none; also right for the
    // application, so the combos' drop-down lists use it too.
    static QFont DefaultFont();

    // The context menu of a digit box: the standard entries, without the
    // shortcut hints of keys the box rejects. The caller owns it.
    static QMenu* ContextMenuWithoutShortcuts(QLineEdit& box);

    QGroupBox* Frame1 = nullptr;  // "Vantoril Time": the description
    QGroupBox* Frame3 = nullptr;  // "Data Input": every input and PRESS
    QLabel* Label1 = nullptr;     // what the program does
    QLabel* Label2 = nullptr;     // "Longitude"
    QLabel* Label3 = nullptr;     // "Deg.", caption of txtLngD
    QLabel* Label4 = nullptr;     // "Min.", caption of txtLngM
    QLabel* Label5 = nullptr;     // "Sec.", caption of txtLngS
    QLabel* Label6 = nullptr;     // "E / W", caption of cmbEW
    QLabel* Label7 = nullptr;     // "Time (UTC)"
    QLabel* Label8 = nullptr;     // "Date (UTC)"
    QLabel* Label9 = nullptr;     // "Year", caption of txtYear
    QLabel* Label10 = nullptr;    // "Month", caption of cmbMonth
    QLabel* Label11 = nullptr;    // "Date", caption of cmbDate
    QLabel* Label12 = nullptr;    // "Hr.", caption of cmbHour
    QLabel* Label13 = nullptr;    // "Min.", caption of txtMinute
    QLabel* Label14 = nullptr;    // "Sec.", caption of txtSecond
    QLabel* Label15 = nullptr;    // "Local Vantoril Time  =", caption of the result
    LinkLabel* Label16 = nullptr; // the credits link to the author's home page
    QLabel* Label17 = nullptr;    // the instructions
    QLineEdit* txtLngD = nullptr;
    QLineEdit* txtLngM = nullptr;
    QLineEdit* txtLngS = nullptr;
    QLineEdit* txtYear = nullptr;
    QLineEdit* txtMinute = nullptr;
    QLineEdit* txtSecond = nullptr;
    QLineEdit* txtVantorilTime = nullptr; // the result
    QComboBox* cmbEW = nullptr;
    QComboBox* cmbMonth = nullptr;
    QComboBox* cmbDate = nullptr;
    QComboBox* cmbHour = nullptr;
    QPushButton* cmdPress = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Event procedures, named after their control and event.
    void cmdPress_Click();
    void Label16_Click();

    void txtLngD_KeyPress(std::int16_t& keyAscii);
    void txtLngM_KeyPress(std::int16_t& keyAscii);
    void txtLngS_KeyPress(std::int16_t& keyAscii);
    void txtYear_KeyPress(std::int16_t& keyAscii);
    void txtMinute_KeyPress(std::int16_t& keyAscii);
    void txtSecond_KeyPress(std::int16_t& keyAscii);
    void cmbEW_KeyPress(std::int16_t& keyAscii);
    void cmbMonth_KeyPress(std::int16_t& keyAscii);
    void cmbDate_KeyPress(std::int16_t& keyAscii);
    void cmbHour_KeyPress(std::int16_t& keyAscii);

    void txtLngD_Change();
    void txtLngM_Change();
    void txtLngS_Change();
    void txtYear_Change();
    void txtMinute_Change();
    void txtSecond_Change();

    // One shape each for the key filters, the key blocker and the change procedures.
    void DigitFilter(std::int16_t& keyAscii);
    static void KeyBlocker(std::int16_t& keyAscii);
    template <typename Field>
    void StoreNumber(const QLineEdit* box, Field& field, Field limit, const char* warning);

    // Runs one event procedure; a run-time error ends it and is reported
    // instead of ending the program.
    template <typename Body>
    void Procedure(Body&& body);

    void ConnectProcedures();

    ResultAnnouncer* announcer_ = nullptr; // owned as a child

    // form_layout.cpp
    void CreateControls();
    void DescribeForAssistiveTechnology();
    void SetTabOrder();

    // key_filter.cpp
    using KeyProcedure = void (frmVantorilTime::*)(std::int16_t&);
    void ConnectKeyProcedures();
    [[nodiscard]] KeyProcedure KeyProcedureOf(const QObject* watched) const;
    bool FilterKey(QObject* watched, QEvent* event);
    bool FilterButtonKey(QEvent* event);
    bool FilterComposed(QObject* watched, QInputMethodEvent* event);
    bool ShowContextMenu(QObject* watched, QContextMenuEvent* event);
    // Digits an input method held as composing text, typed once its event is over.
    void TypeComposedDigits();
    // Types each code into the box as a key of its own, through its procedure.
    void TypeCodes(QObject* watched, KeyProcedure procedure, const std::vector<std::uint8_t>& codes);

    std::unique_ptr<MessageService> ownMessages_;
    std::unique_ptr<UrlOpener> ownOpener_;
    MessageService* messages_;
    UrlOpener* opener_;
    WorkingValues values_;
    std::vector<std::pair<QObject*, KeyProcedure>> keyProcedures_;
    QPointer<QObject> composedBox_;
    KeyProcedure composedProcedure_ = nullptr;
    std::vector<std::uint8_t> composedCodes_;
};

} // namespace vantoril
