#!/usr/bin/env bash
# Checks the include rules of src/: includes point down the layers, and only the window's
# folders (every ui/, widgets/ and platform/qt/) use the toolkit.
#   formats/                     <- nothing of ours
#   platform/                    <- platform/
#   settings/ sysinfo/ hardware/ presets/   <- platform/, formats/, one another
#   widgets/                     <- platform/
#   <subsystem>/ui/              <- its own and the other subsystems, widgets/, platform/
#   app/                         <- everything; app/ alone may include app/
set -euo pipefail
cd "$(dirname "$0")/../src"

status=0
complain() {
  echo "$1"
  status=1
}

while IFS= read -r file; do
  dir=$(dirname "$file")
  top=${file%%/*}
  in_ui=false
  case "/$dir/" in
    */ui/* | /widgets/* | /platform/qt/*) in_ui=true ;;
  esac
  while IFS=: read -r line include; do
    if [[ $include =~ ^\#include\ \<Q ]] && ! $in_ui; then
      complain "$file:$line: the toolkit outside ui/, widgets/ and platform/qt/: $include"
    fi
    [[ $include =~ ^\#include\ \"([^\"]+)\" ]] || continue
    target=${BASH_REMATCH[1]}
    target_top=${target%%/*}
    [[ -e $target || $target == app/Version.h ]] || continue  # not one of ours
    case "/$(dirname "$target")/" in
      */ui/* | /widgets/* | /platform/qt/*)
        $in_ui || complain "$file:$line: a window file included outside the window: $target" ;;
    esac
    allowed=true
    case $top in
      platform) [[ $target_top == platform ]] || allowed=false ;;
      widgets) [[ $target_top == widgets || $target_top == platform ]] || allowed=false ;;
      settings | sysinfo | hardware | presets) [[ $target_top != app ]] || allowed=false ;;
    esac
    $allowed || complain "$file:$line: $top/ may not include $target"
  done < <(grep -n '^#include' "$file" || true)
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's#^\./##' | grep -v '^main.cpp$')

# main.cpp builds without the toolkit too.
if grep -n '^#include <Q' main.cpp; then complain "main.cpp: includes the toolkit"; fi
exit $status
