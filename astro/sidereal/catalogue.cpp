// SPDX-License-Identifier: MIT
#include "astro/sidereal/catalogue.h"

#include "astro/sidereal/iau2006.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace vantoril::astro {

double CatalogueHourAngle(const Query& q, const TimeScaleContext& context, Ut1Detail* detail)
{
    const TimeScales t = Iau2006Scales(q, context, detail);
    double ri = 0;
    double di = 0;
    double eo = 0;
    // The query holds both for a catalogue place.
    const double ra = q.ra ? q.ra->hours * 15 * ERFA_DD2R : 0;
    const double dec = q.dec ? q.dec->degrees * ERFA_DD2R : 0;
    eraAtci13(ra, dec, 0, 0, 0, 0, t.jd0, t.tt, &ri, &di, &eo);
    const double angle = eraEra00(t.jd0, t.ut1) + q.longitude.east * ERFA_DD2R - ri;
    const double hours = eraAnpm(angle) * (12.0 / ERFA_DPI);
    return hours >= 12.0 ? hours - 24.0 : hours;
}

} // namespace vantoril::astro
