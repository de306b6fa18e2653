#!/usr/bin/env bash
# Writes to standard output the example's general options with N printer groups of 5
# categories of 10 predefined values each, with CR LF line ends.
#   bench/make_config.sh N
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
groups="$1"
{
  awk 'NR > 1 && /^\[/ { exit } /^NumPrinterGroups/ { next } { print }' "$root/examples/Config.ini" | tr -d '\r'
  awk -v groups="$groups" 'BEGIN {
    printf "NumPrinterGroups         = %d\n", groups
    for (g = 1; g <= groups; g++) {
      printf "\n[PG%d]\nPrinterGroupName         = Group %d\nDisableLogging           = %s\nLogSilent                = False\nPauseUntilAck            = True\nRedirect                 = Enter IP Address Here\nNumCategories            = 5\n", g, g, (g % 2 ? "False" : "True")
      for (c = 1; c <= 5; c++) {
        printf "\n[PG%dCATEGORY%d]\nCategoryName             = Category %d\nVerification             = 1\nAckDefaultValues         = False\nAllowBlankValues         = False\nOnlyPreDefinedValues     = False\nMaskUserInput            = False\nPattern                  = Any\nNumPreDefinedValues      = 10\n", g, c, c
        for (v = 1; v <= 10; v++) printf "PreDefinedValue%-9d = 0, Value %d\n", v, v
        printf "DefaultValue             = 1\n"
      }
    }
  }'
} | sed 's/$/\r/'
