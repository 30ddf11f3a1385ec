// SPDX-License-Identifier: MIT
#include "cli/options/setters.h"

#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "cli/options/values.h"

#include <algorithm>
#include <string>

namespace vantoril::cli::set {

using astro::Quoted;

void Model(Options& o, std::string_view v)
{
    if (v == "classic") {
        o.modelName = ModelName::Classic;
    } else if (v == "iau2006") {
        o.modelName = ModelName::Iau2006;
    } else {
        throw UsageError("--model " + Quoted(v) + ": expected classic or iau2006");
    }
    o.modelGiven = true;
}

void Apparent(Options& o, std::string_view /*v*/) { o.apparent = true; }

void Dut1(Options& o, std::string_view v) { o.dut1 = ParseDut1(v); }

void Precision(Options& o, std::string_view v)
{
    if (v.size() != 1 || v[0] < '0' || v[0] > '6') {
        throw UsageError("--precision " + Quoted(v) + ": expected a whole number from 0 to 6");
    }
    o.precision = v[0] - '0';
}

void Ra(Options& o, std::string_view v)
{
    try {
        o.ra = astro::ParseRightAscension(v);
    } catch (const astro::InputError& e) {
        throw UsageError(std::string("--ra: ") + e.what());
    }
}

void Dec(Options& o, std::string_view v)
{
    if (v == "-") {
        o.decPerLine = true;
        o.dec = astro::Declination{v, 0};
        return;
    }
    try {
        o.dec = astro::ParseDeclination(v);
    } catch (const astro::InputError& e) {
        throw UsageError(std::string("--dec: ") + e.what());
    }
}

void Show(Options& o, std::string_view v)
{
    const auto bad = [v] {
        return UsageError("--show " + Quoted(v) +
                          ": expected all or a comma list of gmst, gast, lmst, last, eqeq, era");
    };
    o.show.clear();
    if (v == "all") {
        for (std::size_t i = 0; i < kQuantityNames.size(); ++i) o.show.push_back(static_cast<Quantity>(i));
        return;
    }
    for (std::string_view rest = v; !v.empty();) {
        const std::string_view name = rest.substr(0, rest.find(','));
        const auto* found = std::find(kQuantityNames.begin(), kQuantityNames.end(), name);
        if (found == kQuantityNames.end()) throw bad();
        const auto quantity = static_cast<Quantity>(found - kQuantityNames.begin());
        if (std::find(o.show.begin(), o.show.end(), quantity) == o.show.end()) o.show.push_back(quantity);
        if (name.size() == rest.size()) return;
        rest.remove_prefix(name.size() + 1);
    }
    throw bad();
}

void Format(Options& o, std::string_view v)
{
    if (v == "text") {
        o.format = cli::Format::Text;
    } else if (v == "hours") {
        o.format = cli::Format::Hours;
    } else if (v == "json") {
        o.format = cli::Format::Json;
    } else if (v == "csv") {
        o.format = cli::Format::Csv;
    } else {
        throw UsageError("--format " + Quoted(v) + ": expected text, hours or json (or csv)");
    }
}

void Tz(Options& o, std::string_view v)
{
    if (v.empty()) throw UsageError("--tz \"\": expected a zone name such as Europe/Paris, UTC or local");
    o.tz = v;
}

void Fold(Options& o, std::string_view v)
{
    if (v == "earlier") {
        o.fold = astro::Fold::Earlier;
    } else if (v == "later") {
        o.fold = astro::Fold::Later;
    } else {
        throw UsageError("--fold " + Quoted(v) + ": expected earlier or later");
    }
    o.foldGiven = true;
}

void Place(Options& o, std::string_view v) { o.place = v; }
void From(Options& o, std::string_view v) { o.from = v; }
void To(Options& o, std::string_view v) { o.to = v; }

void Step(Options& o, std::string_view v)
{
    o.step = ParseDuration(v);
    o.stepText = v;
}

void Count(Options& o, std::string_view v) { o.count = ParseCount(v); }
void Watch(Options& o, std::string_view /*v*/) { o.watch = true; }
void Batch(Options& o, std::string_view /*v*/) { o.batch = true; }
void Transit(Options& o, std::string_view v) { o.transit = ParseTarget("--transit", v, o.targetPerLine); }
void Lower(Options& o, std::string_view /*v*/) { o.lower = true; }
void When(Options& o, std::string_view v) { o.when = ParseTarget("--when", v, o.targetPerLine); }

void Eop(Options& o, std::string_view v)
{
    if (v.empty()) throw UsageError("--eop needs a file name, or none");
    o.eop = v;
}

void Help(Options& o, std::string_view /*v*/) { o.help = true; }
void Version(Options& o, std::string_view /*v*/) { o.version = true; }

void Completion(Options& o, std::string_view v)
{
    if (v != "bash" && v != "zsh" && v != "fish") {
        throw UsageError("--completion " + Quoted(v) + ": expected bash, zsh or fish");
    }
    o.completion = v;
}

void Complete(Options& o, std::string_view v)
{
    if (v != "tz" && v != "place") throw UsageError("--complete " + Quoted(v) + ": expected tz or place");
    o.complete = v;
}

} // namespace vantoril::cli::set
