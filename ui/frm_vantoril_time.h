#pragma once

#include "engine/working_values.h"
#include "runtime/message_service.h"
#include "ui/url_opener.h"

#include <QUrl>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class QComboBox;
class QContextMenuEvent;
class QInputMethodEvent;
class QMenu;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vantoril {

class LinkLabel;

// The calculator's one window. Controls keep the names the event procedures
// use, as C++ members and as object names.
class frmVantorilTime : public QWidget {
    Q_OBJECT

public:
    // Home page opened by the credits line.
    static const QUrl kHomePage;

    // Services left null are the real ones: message boxes and the desktop browser.
    explicit frmVantorilTime(MessageService* messages = nullptr, UrlOpener* opener = nullptr,
                             QWidget* parent = nullptr);
    ~frmVantorilTime() override;
    frmVantorilTime(const frmVantorilTime&) = delete;
    frmVantorilTime& operator=(const frmVantorilTime&) = delete;

    [[nodiscard]] const WorkingValues& values() const { return values_; }

    // The context menu of a digit box: the standard entries, without the
    // shortcut hints of keys the box rejects. The caller owns it.
    static QMenu* ContextMenuWithoutShortcuts(QLineEdit& box);

    // The font of every control that names none; also right for the
    // application, so the combos' drop-down lists use it too.
    static QFont DefaultFont();

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

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    LinkLabel* Label16 = nullptr;
    QLabel* Label17 = nullptr;
    QLineEdit* txtLngD = nullptr;
    QLineEdit* txtLngM = nullptr;
    QLineEdit* txtLngS = nullptr;
    QLineEdit* txtYear = nullptr;
    QLineEdit* txtMinute = nullptr;
    QLineEdit* txtSecond = nullptr;
    QLineEdit* txtVantorilTime = nullptr;
    QComboBox* cmbEW = nullptr;
    QComboBox* cmbMonth = nullptr;
    QComboBox* cmbDate = nullptr;
    QComboBox* cmbHour = nullptr;
    QPushButton* cmdPress = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void SetTabOrder();
    void ConnectProcedures();

    // One shape each for the key filters, the key blocker and the change procedures.
    void DigitFilter(std::int16_t& keyAscii);
    static void KeyBlocker(std::int16_t& keyAscii);
    template <typename Field>
    void StoreNumber(const QLineEdit* box, Field& field, Field limit, const char* warning);

    // Runs one event procedure; a run-time error ends it and is reported
    // instead of ending the program.
    template <typename Body>
    void Procedure(Body&& body);

    using KeyProcedure = void (frmVantorilTime::*)(std::int16_t&);
    bool FilterKey(QObject* watched, QEvent* event);
    bool FilterButtonKey(QEvent* event);
    bool FilterComposed(QObject* watched, QInputMethodEvent* event);
    bool ShowContextMenu(QObject* watched, QContextMenuEvent* event);
    // Types each code into the box as a key of its own, through its procedure.
    void TypeCodes(QObject* watched, KeyProcedure procedure, const std::vector<std::uint8_t>& codes);

    std::unique_ptr<MessageService> ownMessages_;
    std::unique_ptr<UrlOpener> ownOpener_;
    MessageService* messages_;
    UrlOpener* opener_;
    WorkingValues values_;
    std::vector<std::pair<QObject*, KeyProcedure>> keyProcedures_;
    std::vector<QObject*> lists_;  // the combos' drop-down lists
};

} // namespace vantoril
