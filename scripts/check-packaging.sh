#!/usr/bin/env bash
# Checks what `cmake --install` puts on a system, without root: the install tree in a DESTDIR,
# desktop-file-validate, appstreamcli validate, systemd-analyze verify on the installed units,
# and the .deb that CPack makes, with the files it must hold.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh packaging
build_dir="${BUILD_DIR:-build}"
CMAKE_ARGS="${CMAKE_ARGS:-} -DCMAKE_INSTALL_PREFIX=/usr" ./scripts/build.sh

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build_dir" >/dev/null

expected=(
  usr/bin/corvane
  usr/libexec/corvane/corvane-clock-helper
  usr/share/man/man1/corvane.1
  usr/share/applications/org.ostrelle.corvane.desktop
  usr/share/applications/org.ostrelle.corvane.registry.desktop
  usr/share/metainfo/org.ostrelle.corvane.metainfo.xml
  usr/share/polkit-1/actions/org.ostrelle.corvane.policy
  usr/share/bash-completion/completions/corvane
  usr/lib/systemd/system/corvane-setclock@.service
  usr/lib/systemd/system/corvane-resume@.service
  usr/share/icons/hicolor/16x16/apps/org.ostrelle.corvane.png
  usr/share/icons/hicolor/48x48/apps/org.ostrelle.corvane.png
  usr/share/icons/hicolor/256x256/apps/org.ostrelle.corvane.png
)
status=0
fail() {
  echo "check-packaging: $1" >&2
  status=1
}
for file in "${expected[@]}"; do
  [ -f "$stage/$file" ] || fail "not installed: /$file"
done

echo "== desktop-file-validate"
desktop-file-validate "$stage"/usr/share/applications/*.desktop || fail "desktop files"
echo "== appstreamcli validate"
appstreamcli validate --no-net "$stage"/usr/share/metainfo/*.xml || fail "AppStream metadata"
echo "== the man page"
man --warnings -l "$stage/usr/share/man/man1/corvane.1" 2>&1 >/dev/null | grep . && fail "man page"
echo "== the bash completion"
bash -n "$stage/usr/share/bash-completion/completions/corvane" || fail "bash completion"
echo "== the installed program"
"$stage/usr/bin/corvane" --version || fail "the installed program does not run"

echo "== systemd-analyze verify"
# The units name /usr/bin/corvane; verify them against the staged tree.
units=$(mktemp -d)
trap 'rm -rf "$stage" "$units"' EXIT
for unit in corvane-setclock@.service corvane-resume@.service; do
  grep -q "^ExecStart=/usr/bin/corvane --boot --user %i$" "$stage/usr/lib/systemd/system/$unit" ||
    fail "$unit does not run the installed program's boot path"
  instance=${unit/@/@verify}
  sed "s#/usr/bin/corvane#$stage/usr/bin/corvane#" "$stage/usr/lib/systemd/system/$unit" \
    >"$units/$instance"
done
(cd "$units" && MANPATH="$stage/usr/share/man" SYSTEMD_LOG_LEVEL=warning systemd-analyze verify ./*.service) ||
  fail "units"
grep -q "<annotate key=\"org.freedesktop.policykit.exec.path\">/usr/libexec/corvane/corvane-clock-helper</annotate>" \
  "$stage/usr/share/polkit-1/actions/org.ostrelle.corvane.policy" || fail "polkit policy path"

echo "== the .deb"
rm -f "$build_dir"/corvane_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null) || fail "cpack"
deb=$(ls "$build_dir"/corvane_*.deb 2>/dev/null | head -n1)
if [ -z "$deb" ]; then
  fail "no .deb was made"
else
  listing=$(dpkg-deb -c "$deb")
  for file in "${expected[@]}"; do
    grep -q " \./$file\$" <<<"$listing" || fail "not in the .deb: /$file"
  done
  dpkg-deb -f "$deb" Depends | grep -q libqt6widgets || fail "the .deb does not depend on Qt"
  echo "$deb"
fi

[ $status -eq 0 ] && echo "check-packaging: all good"
exit $status
