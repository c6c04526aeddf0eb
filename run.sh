#!/usr/bin/env bash
# Builds Quorl Marina and starts it; a starter database is written first when none is there.
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target quorl-marina quorl-mkdb

# The database's default place is registry value "data"'s default, c:\Quorlc\data\DB.mdb,
# on the folder that stands in for drive C:.
./build/bin/quorl-mkdb --if-missing 'c:\Quorlc\data\DB.mdb'
drive_c="${QUORL_DRIVE_C:-${XDG_DATA_HOME:-$HOME/.local/share}/quorl-marina/drive_c}"
if ! ls -d "$drive_c"/[Qq][Uu][Oo][Rr][Ll][Cc]/[Tt][Rr][Aa][Cc][Ee][Ss] >/dev/null 2>&1; then
    mkdir -p "$drive_c/Quorlc/traces"
fi

exec ./build/bin/quorl-marina
