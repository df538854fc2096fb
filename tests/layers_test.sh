#!/usr/bin/env bash
# The layer check passes on the tree and catches each kind of fault in a tree made to hold them.
set -u
checker=$1 src=$2
python3 "$checker" "$src" || { echo "FAIL: the tree itself breaks its layers"; exit 1; }
bad=$(mktemp -d)
trap 'rm -rf "$bad"' EXIT
mkdir -p "$bad"/{text,analysis,render,hook,plugin,extra}
echo '#include "hook/editor_proc.h"' >"$bad/render/view.cpp"          # upward
echo '#include "../plugin/plugin.h"' >"$bad/hook/proc.cpp"            # upward, relative
echo '#include "tintmark_h.h"' >"$bad/host_user.h"; mv "$bad/host_user.h" "$bad/render/"  # generated, upward
echo '#include <windows.h>' >"$bad/analysis/scan.cpp"                # Windows in the portable core
echo '#include <plugin/plugin.h>' >"$bad/hook/angle.cpp"              # upward, in angle brackets
echo '#include "text/cp1251.h"' >"$bad/extra/x.cpp"                   # a folder in no layer
printf '#include "render/editor_view.h"\n#include <windows.h>\n' >"$bad/plugin/ok.cpp"  # allowed
out=$(python3 "$checker" "$bad") && { echo "FAIL: faults passed"; exit 1; }
failed=0
for want in "render/view.cpp:1: 'render' includes \"hook/editor_proc.h\"" \
            "hook/proc.cpp:1: 'hook' includes \"../plugin/plugin.h\"" \
            "render/host_user.h:1: 'render' includes \"tintmark_h.h\"" \
            "analysis/scan.cpp:1: the portable layer 'analysis' includes <windows.h>" \
            "hook/angle.cpp:1: 'hook' includes \"plugin/plugin.h\"" \
            "the folder 'extra' is in no layer" "6 fault(s)"; do
    grep -qF "$want" <<<"$out" || { echo "FAIL: not reported: $want"; failed=1; }
done
[ $failed -eq 0 ] && echo "layer check: the tree passes, 6 of 6 planted faults caught"
exit $failed
