// SPDX-License-Identifier: MIT
#include "astro/sidereal/models.h"

#include "astro/sidereal/catalogue.h"
#include "astro/sidereal/iau2006.h"
#include "astro/time/cautions.h"

#include <array>
#include <cmath>

namespace vantoril::astro {

namespace {

SiderealAnswer EvaluateClassic(const Query& q, const TimeScaleContext& /*context*/)
{
    SiderealAnswer a;
    a.classicText = ClassicLst(q, a.lstHours);
    return a;
}

SiderealAnswer EvaluateMean(const Query& q, const TimeScaleContext& context)
{
    SiderealAnswer a;
    a.lstHours = Iau2006Lst(q, false, context, &a.ut1);
    return a;
}

SiderealAnswer EvaluateApparent(const Query& q, const TimeScaleContext& context)
{
    SiderealAnswer a;
    a.lstHours = Iau2006Lst(q, true, context, &a.ut1);
    return a;
}

struct ModelRow {
    ModelInfo info;
    SiderealAnswer (*evaluate)(const Query&, const TimeScaleContext&) = nullptr;
};

// In the order of Model.
constexpr std::array<ModelRow, 3> kModels = {{
    {{"classic", "", 0, false}, EvaluateClassic},
    {{"iau2006", "mean", 3, true}, EvaluateMean},
    {{"iau2006", "apparent", 3, true}, EvaluateApparent},
}};

} // namespace

const ModelInfo& InfoOf(Model model) { return kModels.at(static_cast<std::size_t>(model)).info; }

SiderealAnswer Evaluate(Model model, const Query& q, const TimeScaleContext& context)
{
    SiderealAnswer a = kModels[static_cast<std::size_t>(model)].evaluate(q, context);
    if (q.dec) {
        // UT1 as the sidereal time had it (an IERS table's included); its
        // cautions are those already in `a`.
        Ut1Detail ut1;
        a.catalogueHourAngle = CatalogueHourAngle(q, context, &ut1);
    }
    return a;
}

double HourAngle(double lstHours, double raHours)
{
    double ha = std::fmod(lstHours - raHours + 12.0, 24.0);
    if (ha < 0) ha += 24.0;
    return ha - 12.0;
}

double HourAngleOf(const Query& q, const SiderealAnswer& a)
{
    if (a.catalogueHourAngle) return *a.catalogueHourAngle;
    return q.ra ? HourAngle(a.lstHours, q.ra->hours) : 0.0;
}

unsigned RunCautions(const SiderealAnswer& answer, const TimeScaleContext& context)
{
    const bool found =
        answer.ut1.dut1Source != nullptr && !context.eopNamed && (answer.ut1.cautions & kOutsideEopSpan) == 0;
    return answer.ut1.cautions | (found ? kFoundEopUsed : 0U);
}

} // namespace vantoril::astro
