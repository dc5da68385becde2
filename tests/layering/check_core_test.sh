#!/usr/bin/env bash
# The layer check must pass on the tree as it is and fail on each kind of
# breach planted into a copy of it: an upward include inside the core, a Qt
# include in the core, a client include cycle and an unknown module.
set -u
src=$(cd "$(dirname "$0")/../.." && pwd)
check="$src/scripts/check-core"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0; failed=0

expect() { # expect WANT NAME: runs the check on $work/tree, wants 0 or 1
  local want=$1 name=$2 out rc
  out=$("$check" "$work/tree" 2>&1); rc=$?
  [ $rc -ne 0 ] && rc=1
  if [ $rc -eq "$want" ]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAIL: $name (exit $rc, wanted $want)"; echo "$out"
  fi
}
fresh() { rm -rf "$work/tree"; mkdir -p "$work/tree"; cp -r "$src/src" "$work/tree/src"; }

fresh; expect 0 "the tree as it is"
fresh; echo '#include "core/game/BBS2Zel.h"' >>"$work/tree/src/core/engine/GoBoard.cpp"; expect 1 "engine includes game"
fresh; echo '#include "core/app/LobbyApp.h"' >>"$work/tree/src/core/base/Bytes.cpp"; expect 1 "base includes app"
fresh; echo '#include <QString>' >>"$work/tree/src/core/record/GiboList.cpp"; expect 1 "core includes Qt"
fresh; echo '#include "client/base/QtText.h"' >>"$work/tree/src/core/net/PacketQ.cpp"; expect 1 "core includes the client"
fresh; echo '#include "client/app/NotifyForms.h"' >>"$work/tree/src/client/base/QtText.cpp"; expect 1 "client base includes app"
fresh; mkdir -p "$work/tree/src/client/extra"; echo '#include "client/base/QtText.h"' >"$work/tree/src/client/extra/X.cpp"
expect 1 "a client module the list does not know"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
