// SPDX-License-Identifier: MIT
// The window as pixels: frames drawn round their captions, and a palette
// change that reaches every painted part. Runs at whatever QT_SCALE_FACTOR
// the test is started with (CTest runs it at 1, 1.25, 1.5 and 2).
#include "recorders.h"
#include "ui/cached_group_box.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace vantoril::testing {
namespace {

// The window as the program shows it, in device pixels.
struct Shot {
    QImage image;
    qreal ratio;
    QRgb background;

    explicit Shot(QWidget* window)
        : image(window->grab().toImage().convertToFormat(QImage::Format_RGB32)),
          ratio(window->devicePixelRatioF()),
          background(window->palette().color(QPalette::Window).rgb())
    {
    }

    // A logical rectangle of a child, in the shot's device pixels.
    [[nodiscard]] QRect Area(const QWidget* child, const QWidget* window) const
    {
        const QRect logical(child->mapTo(window, QPoint(0, 0)), child->size());
        return {QPoint(static_cast<int>(std::floor(logical.left() * ratio)),
                       static_cast<int>(std::floor(logical.top() * ratio))),
                QPoint(static_cast<int>(std::ceil((logical.right() + 1) * ratio)) - 1,
                       static_cast<int>(std::ceil((logical.bottom() + 1) * ratio)) - 1)};
    }

    [[nodiscard]] bool Inked(int x, int y) const
    {
        const QRgb p = image.pixel(x, y);
        return std::max({std::abs(qRed(p) - qRed(background)), std::abs(qGreen(p) - qGreen(background)),
                         std::abs(qBlue(p) - qBlue(background))}) > 24;
    }

    // First and last rows in the area holding any ink.
    [[nodiscard]] std::optional<std::pair<int, int>> InkRows(const QRect& area) const
    {
        std::optional<std::pair<int, int>> rows;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (!Inked(x, y)) continue;
                if (!rows) rows = std::pair{y, y};
                rows->second = y;
                break;
            }
        }
        return rows;
    }
};

struct FrameCase {
    const char* frame;
    std::vector<const char*> captions; // the children nearest its top
};

void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.frame; }

class FrameTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameTest, BorderRunsThroughTheTitleAboveEveryCaption)
{
    QApplication::setFont(frmVantorilTime::DefaultFont());
    Harness h;
    auto* frame = h.window->findChild<CachedGroupBox*>(QLatin1String(GetParam().frame));
    ASSERT_NE(frame, nullptr);
    const Shot shot(h.window.get());
    const QRect area = shot.Area(frame, h.window.get());

    // The border's top row, read at the frame's right end, clear of the title.
    const int x = area.right() - static_cast<int>(8 * shot.ratio);
    int border = -1;
    for (int y = area.top(); y <= area.bottom() && border < 0; ++y) {
        if (shot.Inked(x, y)) border = y;
    }
    ASSERT_GE(border, area.top()) << "no top border found";

    // The title sits on the border: its glyphs reach above and below it.
    const QFontMetrics metrics(frame->font());
    const QRect titleLogical(frame->mapTo(h.window.get(), QPoint(10, 0)),
                             QSize(metrics.horizontalAdvance(frame->title()), metrics.height()));
    const QRect title(QPoint(static_cast<int>(titleLogical.left() * shot.ratio), area.top()),
                      QPoint(static_cast<int>((titleLogical.right() + 1) * shot.ratio) - 1,
                             static_cast<int>((titleLogical.bottom() + 1) * shot.ratio) - 1));
    const auto titleInk = shot.InkRows(title);
    ASSERT_TRUE(titleInk.has_value()) << "no title drawn";
    EXPECT_LT(titleInk->first, border);
    EXPECT_GT(titleInk->second, border);

    for (const char* name : GetParam().captions) {
        const auto* caption = h.window->findChild<QLabel*>(QLatin1String(name));
        const auto ink = shot.InkRows(shot.Area(caption, h.window.get()));
        ASSERT_TRUE(ink.has_value()) << name << " shows nothing";
        EXPECT_LT(border, ink->first) << name << ": the border row crosses or runs below its glyphs";
    }
    QApplication::setFont(QFont());
}

INSTANTIATE_TEST_SUITE_P(Frames, FrameTest,
                         ::testing::Values(FrameCase{"Frame1", {"Label1"}},
                                           FrameCase{"Frame3", {"Label3", "Label4", "Label5", "Label6"}}),
                         [](const ::testing::TestParamInfo<FrameCase>& p) { return std::string(p.param.frame); });

QPalette DarkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x3c, 0x3c, 0x3c));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Light, QColor(0x5a, 0x5a, 0x5a));
    dark.setColor(QPalette::Midlight, QColor(0x48, 0x48, 0x48));
    dark.setColor(QPalette::Mid, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::Dark, QColor(0x18, 0x18, 0x18));
    dark.setColor(QPalette::Shadow, QColor(0x00, 0x00, 0x00));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0x6e, 0xa8));
    dark.setColor(QPalette::HighlightedText, QColor(0xff, 0xff, 0xff));
    return dark;
}

int Luma(QRgb p) { return (qRed(p) * 299 + qGreen(p) * 587 + qBlue(p) * 114) / 1000; }

// The largest brightness difference between any pixel of the area and its
// background: how well its text stands out.
int Contrast(const QImage& image, const QRect& area, QRgb background)
{
    int best = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            best = std::max(best, std::abs(Luma(image.pixel(x, y)) - Luma(background)));
        }
    }
    return best;
}

// How many pixels of two pictures of one size differ in colour.
int PixelsApart(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return a.width() * a.height();
    int apart = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) apart += (a.pixel(x, y) & RGB_MASK) != (b.pixel(x, y) & RGB_MASK) ? 1 : 0;
    }
    return apart;
}

// Two windows differ in focus and caret; the comparison is about colours.
Shot Unfocused(Harness& h)
{
    if (QWidget* focused = h.window->focusWidget()) focused->clearFocus();
    return Shot(h.window.get());
}

TEST(Palette, ADarkPaletteReachesEveryPartWhileTheWindowIsOpen)
{
    QApplication::setFont(frmVantorilTime::DefaultFont());
    const QPalette light = QApplication::palette();
    Harness open;
    open.window->txtVantorilTime->setText("6:41:54");
    (void)Shot(open.window.get()); // fills the frames' cached pictures

    QApplication::setPalette(DarkPalette());
    QCoreApplication::processEvents();
    const Shot changed = Unfocused(open);
    ASSERT_EQ(changed.background, DarkPalette().color(QPalette::Window).rgb());

    // Exactly what a window opened under the dark palette shows: nothing kept the old colours.
    Harness fresh;
    fresh.window->txtVantorilTime->setText("6:41:54");
    const Shot reference = Unfocused(fresh);
    EXPECT_EQ(PixelsApart(changed.image, reference.image), 0);

    // Every caption, title and box stays readable on its own background
    // (the link keeps its defined blue, whatever the palette).
    for (const QLabel* label : open.window->findChildren<QLabel*>()) {
        if (label == open.window->Label16) continue;
        EXPECT_GT(Contrast(changed.image, changed.Area(label, open.window.get()), changed.background), 100)
            << label->objectName().toStdString();
    }
    for (const QWidget* box : std::initializer_list<const QWidget*>{open.window->txtYear, open.window->cmbMonth,
                                                                    open.window->txtVantorilTime}) {
        const QRect area = changed.Area(box, open.window.get()).adjusted(3, 3, -3, -3);
        const QRgb base = changed.image.pixel(area.topLeft());
        EXPECT_GT(Contrast(changed.image, area, base), 100) << box->objectName().toStdString();
    }
    // The link keeps its pure blue.
    const QRect link = changed.Area(open.window->Label16, open.window.get());
    bool blue = false;
    for (int y = link.top(); y <= link.bottom() && !blue; ++y) {
        for (int x = link.left(); x <= link.right() && !blue; ++x) blue = changed.image.pixel(x, y) == qRgb(0, 0, 255);
    }
    EXPECT_TRUE(blue);

    QApplication::setPalette(light);
    QCoreApplication::processEvents();
    Harness back;
    back.window->txtVantorilTime->setText("6:41:54");
    EXPECT_EQ(PixelsApart(Unfocused(open).image, Unfocused(back).image), 0);
    QApplication::setFont(QFont());
}

} // namespace
} // namespace vantoril::testing
