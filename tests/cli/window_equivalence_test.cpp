// SPDX-License-Identifier: MIT
// vantoril-lst --model classic prints what the window shows after PRESS for
// the same inputs: both are run on the same seeded instants and longitudes
// and their texts (or run-time error reports) compared exactly.
#include "recorders.h"
#include "tests/cli/program_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace vantoril::testing {
namespace {

struct Instant {
    std::string year, month, day, hour, minute, second;
    std::string degrees, minutes, seconds;
    bool west = false;

    [[nodiscard]] std::string BatchLine() const
    {
        std::string lng = degrees;
        if (!minutes.empty()) lng += 'd' + minutes + 'm';
        if (!seconds.empty()) lng += seconds + 's';
        lng += west ? 'W' : 'E';
        return year + '-' + month + '-' + day + ' ' + hour + ':' + minute + ':' + second + ' ' + lng;
    }
};

std::string Two(int n)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

// The engine's edge cases, then seeded random instants and longitudes.
std::vector<Instant> Instants(int count)
{
    std::vector<Instant> all = {
        {"2002", "01", "01", "00", "00", "00", "0", "", "", false},
        {"2002", "01", "01", "00", "00", "00", "79", "51", "", true},
        {"2002", "10", "06", "23", "00", "00", "0", "", "", false},
        {"2002", "01", "02", "07", "00", "00", "0", "", "", false},
        {"1989", "02", "25", "19", "57", "15", "4", "57", "52", true},
        {"1944", "07", "06", "05", "33", "07", "126", "44", "18", false},
        {"2001", "02", "29", "00", "00", "00", "0", "", "", false},
        {"3276799", "03", "01", "00", "00", "00", "0", "", "", false},
        {"3276800", "03", "01", "00", "00", "00", "0", "", "", false},
        {"3276800", "01", "01", "00", "00", "00", "0", "", "", false},
        {"3276801", "02", "01", "00", "00", "00", "0", "", "", false},
        {"0000", "01", "01", "00", "00", "00", "180", "", "", true},
        {"9999", "12", "31", "23", "59", "59.999", "180", "0", "0", false},
        {"2002", "01", "01", "00", "00", "00", "0", "", "", true},
        {"2002", "01", "01", "12", "30", "30.5", "79.85", "", "", true},
    };
    std::mt19937_64 rng(20021001);
    std::uniform_int_distribution<int> year(0, 3000), month(1, 12), day(1, 31), hour(0, 23), sixty(0, 59),
        degree(0, 179), kind(0, 9), fraction(0, 9999);
    for (int i = 0; i < count; ++i) {
        Instant t;
        t.year = kind(rng) == 0 ? std::to_string(10000 + fraction(rng) * 1000) : std::to_string(year(rng));
        while (t.year.size() < 4) t.year.insert(0, "0");
        t.month = Two(month(rng));
        t.day = Two(day(rng));
        t.hour = Two(hour(rng));
        t.minute = Two(sixty(rng));
        t.second = Two(sixty(rng));
        if (kind(rng) < 3) t.second += '.' + std::to_string(fraction(rng));
        t.west = kind(rng) < 5;
        t.degrees = std::to_string(degree(rng));
        switch (kind(rng) % 4) {
        case 0: // decimal degrees, pasted into the degrees box
            t.degrees += '.' + std::to_string(fraction(rng));
            break;
        case 1:
            t.minutes = std::to_string(sixty(rng));
            break;
        default:
            t.minutes = std::to_string(sixty(rng));
            t.seconds = std::to_string(sixty(rng));
        }
        all.push_back(t);
    }
    return all;
}

// What the window shows after PRESS: the result text, or the error report.
std::string Shown(Harness& h, const Instant& t)
{
    auto* w = h.window.get();
    w->txtLngD->setText(QString::fromStdString(t.degrees));
    w->txtLngM->setText(QString::fromStdString(t.minutes));
    w->txtLngS->setText(QString::fromStdString(t.seconds));
    w->cmbEW->setCurrentIndex(t.west ? 1 : 0);
    w->txtYear->setText(QString::fromStdString(t.year));
    w->cmbMonth->setCurrentIndex(std::stoi(t.month) - 1);
    w->cmbDate->setCurrentIndex(std::stoi(t.day) - 1);
    w->cmbHour->setCurrentIndex(std::stoi(t.hour));
    w->txtMinute->setText(QString::fromStdString(t.minute));
    w->txtSecond->setText(QString::fromStdString(t.second));
    w->txtVantorilTime->setText(QString());
    h.messages.prompts.clear(); // range warnings of the boxes are not results
    w->cmdPress->click();
    if (!h.messages.prompts.empty()) return "error: " + h.messages.prompts.back();
    return w->txtVantorilTime->text().toStdString();
}

TEST(WindowEquivalence, ClassicModelPrintsWhatTheWindowShows)
{
    const std::vector<Instant> instants = Instants(3000);
    std::string input;
    for (const auto& t : instants) input += t.BatchLine() + '\n';
    const auto run = cli::testing::RunWith({"--batch"}, input);
    const auto printed = cli::testing::Lines(run.out);
    ASSERT_EQ(printed.size(), instants.size()) << run.err;

    Harness h;
    int errors = 0;
    for (std::size_t i = 0; i < instants.size(); ++i) {
        const std::string shown = Shown(h, instants[i]);
        errors += shown.rfind("error: ", 0) == 0 ? 1 : 0;
        ASSERT_EQ(printed[i], shown) << instants[i].BatchLine();
    }
    EXPECT_GE(errors, 3); // the overflow cases were reached, in both
}

} // namespace
} // namespace vantoril::testing
