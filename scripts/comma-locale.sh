#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Generates de_DE.UTF-8 when it is missing: the tests and fuzz targets run the
# conversions under a decimal-comma locale to prove they ignore LC_NUMERIC.
set -euo pipefail
locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && exit 0
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
