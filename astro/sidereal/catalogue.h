// SPDX-License-Identifier: MIT
#pragma once

#include "astro/observer/declination.h"
#include "astro/observer/right_ascension.h"
#include "astro/sidereal/query.h"
#include "astro/time/time_scales.h"

// The hour angle of a star given by its catalogue place.
//
// Given: a query whose right ascension and declination are ICRS (J2000)
//   catalogue coordinates, and the time scales' context.
// Returned: the hour angle of the star's geocentric apparent place, in hours
//   in [-12, +12): the Earth rotation angle plus the longitude, less the
//   CIRS right ascension (precession, nutation, annual aberration and light
//   deflection applied; no parallax, no proper motion, no refraction).
// Called: eraEra00, eraAtci13 (TT in place of TDB: they differ by under
//   2 ms, which moves the place by under 1e-10 rad).

namespace vantoril::astro {

double CatalogueHourAngle(const Query& q, const TimeScaleContext& context, Ut1Detail* detail);

} // namespace vantoril::astro
