// SPDX-License-Identifier: MIT
#include "ui/frm_vantoril_time.h"

#include "engine/sidereal.h"
#include "runtime/conversions.h"
#include "runtime/run_time_error.h"
#include "ui/images.h"
#include "ui/line_box_accessible.h"
#include "ui/link_label.h"
#include "ui/message_box.h"
#include "ui/normal_state.h"
#include "ui/result_announcer.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <string_view>
#include <type_traits>

namespace vantoril {

const QUrl frmVantorilTime::kHomePage(QStringLiteral("https://pelvorand.example.com/"));

namespace {

std::u16string_view View(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

} // namespace

frmVantorilTime::frmVantorilTime(MessageService* messages, UrlOpener* opener, QWidget* parent)
    : QWidget(parent, kWindowFlags), messages_(messages), opener_(opener)
{
    if (messages_ == nullptr) {
        ownMessages_ = std::make_unique<MessageBoxService>(this);
        messages_ = ownMessages_.get();
    }
    if (opener_ == nullptr) {
        ownOpener_ = std::make_unique<DesktopUrlOpener>();
        opener_ = ownOpener_.get();
    }

    setObjectName(QStringLiteral("frmVantorilTime"));
    setWindowTitle(QStringLiteral("Vantoril Time"));
    setWindowIcon(ClockIcon());
    setFont(DefaultFont());

    LinkLabel::InstallAccessibility();
    InstallLineBoxAccessibility();
    CreateControls();
    SetTabOrder();
    announcer_ = new ResultAnnouncer(*txtVantorilTime, this);
    // Connected only now, so the initial texts raise no change procedure.
    ConnectProcedures();
    txtLngD->setFocus();
}

frmVantorilTime::~frmVantorilTime() = default;

void frmVantorilTime::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Fixed in size, so never maximised or full screen, whoever asks.
    KeepNormalState(*this);
}

void frmVantorilTime::ConnectProcedures()
{
    connect(txtLngD, &QLineEdit::textChanged, this, &frmVantorilTime::txtLngD_Change);
    connect(txtLngM, &QLineEdit::textChanged, this, &frmVantorilTime::txtLngM_Change);
    connect(txtLngS, &QLineEdit::textChanged, this, &frmVantorilTime::txtLngS_Change);
    connect(txtYear, &QLineEdit::textChanged, this, &frmVantorilTime::txtYear_Change);
    connect(txtMinute, &QLineEdit::textChanged, this, &frmVantorilTime::txtMinute_Change);
    connect(txtSecond, &QLineEdit::textChanged, this, &frmVantorilTime::txtSecond_Change);
    connect(cmdPress, &QPushButton::clicked, this, &frmVantorilTime::cmdPress_Click);
    connect(Label16, &LinkLabel::clicked, this, &frmVantorilTime::Label16_Click);
    ConnectKeyProcedures();
}

template <typename Body>
void frmVantorilTime::Procedure(Body&& body)
{
    try {
        body();
    } catch (const RunTimeError& error) {
        messages_->ShowMessage(error.what());
    }
}

void frmVantorilTime::cmdPress_Click()
{
    // The reads of the window sit between the runs of the calculation, so an
    // error leaves exactly the fields stored before it changed.
    Procedure([this] {
        WorkingValues& v = values_;
        v.Year = StoreSingle(LenientNumber(View(txtYear->text())));
        v.Month = StrictSingle(View(cmbMonth->currentText()));
        ComputeLstStep1(v);
        v.Day = StrictSingle(View(cmbDate->currentText()));
        v.EWSign = StrEqual(View(cmbEW->currentText()), u"E") ? 1 : -1;
        ComputeLstSteps2To5(v);
        v.Hour = StrictSingle(View(cmbHour->currentText()));
        ComputeLstSteps6To16(v);
        txtVantorilTime->setText(QString::fromStdString(FormatLst(v)));
        announcer_->Announce();
    });
}

void frmVantorilTime::Label16_Click() { opener_->OpenUrl(kHomePage); }

void frmVantorilTime::DigitFilter(std::int16_t& keyAscii)
{
    if (keyAscii == 8) return; // Backspace edits
    const std::u16string typed = CharOfAnsiCode(static_cast<std::uint8_t>(keyAscii));
    // Binary order: only the ten digits lie between "0" and "90".
    if (StrLess(typed, u"0") || StrGreater(typed, u"90")) {
        keyAscii = 0;
        messages_->ShowMessage("Type only Numbers");
    }
}

void frmVantorilTime::KeyBlocker(std::int16_t& keyAscii) { keyAscii = 0; }

template <typename Field>
void frmVantorilTime::StoreNumber(const QLineEdit* box, Field& field, Field limit, const char* warning)
{
    Procedure([&] {
        const double number = LenientNumber(View(box->text()));
        if constexpr (std::is_same_v<Field, float>) {
            field = StoreSingle(number);
        } else {
            field = number;
        }
        // Compared in the field's own width, after the store.
        if (warning != nullptr && field > limit) messages_->ShowMessage(warning);
    });
}

void frmVantorilTime::txtLngD_KeyPress(std::int16_t& keyAscii) { DigitFilter(keyAscii); }
void frmVantorilTime::txtLngM_KeyPress(std::int16_t& keyAscii) { DigitFilter(keyAscii); }
void frmVantorilTime::txtLngS_KeyPress(std::int16_t& keyAscii) { DigitFilter(keyAscii); }
void frmVantorilTime::txtYear_KeyPress(std::int16_t& keyAscii) { DigitFilter(keyAscii); }
void frmVantorilTime::txtMinute_KeyPress(std::int16_t& keyAscii) { DigitFilter(keyAscii); }
void frmVantorilTime::txtSecond_KeyPress(std::int16_t& keyAscii) { DigitFilter(keyAscii); }
void frmVantorilTime::cmbEW_KeyPress(std::int16_t& keyAscii) { KeyBlocker(keyAscii); }
void frmVantorilTime::cmbMonth_KeyPress(std::int16_t& keyAscii) { KeyBlocker(keyAscii); }
void frmVantorilTime::cmbDate_KeyPress(std::int16_t& keyAscii) { KeyBlocker(keyAscii); }
void frmVantorilTime::cmbHour_KeyPress(std::int16_t& keyAscii) { KeyBlocker(keyAscii); }

void frmVantorilTime::txtLngD_Change() { StoreNumber(txtLngD, values_.LngD, 179.0, "It is less than 180"); }
void frmVantorilTime::txtLngM_Change() { StoreNumber(txtLngM, values_.LngM, 59.0, "It is less than 60"); }
void frmVantorilTime::txtLngS_Change() { StoreNumber(txtLngS, values_.LngS, 59.0, "It is less than 60"); }
void frmVantorilTime::txtYear_Change() { StoreNumber(txtYear, values_.Year, 0.0f, nullptr); }
void frmVantorilTime::txtMinute_Change() { StoreNumber(txtMinute, values_.Minute, 59.0f, "It is less than 60"); }
void frmVantorilTime::txtSecond_Change() { StoreNumber(txtSecond, values_.Second, 59.0f, "It is less than 60"); }

} // namespace vantoril
