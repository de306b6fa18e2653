#!/usr/bin/env bash
# Builds ldgrmake, installs the example environment into a fresh prefix, runs the program
# once and shows the offline job record and the debug log it wrote.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"

cmake --preset default -S "$root" >/dev/null
cmake --build --preset default --target ldgrmake >/dev/null

export LDGR_PREFIX="${LDGR_PREFIX:-$(mktemp -d)/prefix}"
export LDGR_USERNAME="${LDGR_USERNAME:-alice}"
export LDGR_COMPUTERNAME="${LDGR_COMPUTERNAME:-PC17}"
drive_c="$LDGR_PREFIX/drive_c"

# The shared configuration, the registry that points at it, and the user's job folder in the
# shared data folder (a user folder that does not exist yet sends the jobs to the local profile).
mkdir -p "$drive_c/Ledgerline/Data/users/$LDGR_USERNAME"
cp "$here/Config.ini" "$drive_c/Ledgerline/Config.ini"
cp "$here/registry.reg" "$LDGR_PREFIX/registry.reg"

"$root/build/default/GUI/ldgrmake"

record="$(ls -t "$drive_c/Ledgerline/Data/users/$LDGR_USERNAME"/*.prt 2>/dev/null | head -n 1 || true)"
if [ -z "$record" ]; then
  record="$(find "$drive_c/users" -name '*.prt' | head -n 1)"
fi
echo "== prefix: $LDGR_PREFIX"
windows="C:${record#"$drive_c"}"
echo "== offline job record: $record (${windows//\//\\})"
sed 's/\r$//' "$record" | cat -n
echo "== debug log: $drive_c/users/$LDGR_USERNAME/LdgrApp/ldgrmake.txt"
sed 's/\r$//' "$drive_c/users/$LDGR_USERNAME/LdgrApp/ldgrmake.txt"
