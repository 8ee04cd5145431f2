#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs:
# both programs in bin/ and runnable from there, a valid .desktop file that
# opens a file (%f) of every type the shared-mime-info file names, the icon
# and the man pages.
#
# usage: install_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail

src=${1:?usage: install_test.sh SOURCE_DIR BUILD_DIR}
build=${2:?usage: install_test.sh SOURCE_DIR BUILD_DIR}
command -v desktop-file-validate >/dev/null ||
  { echo "install_test: desktop-file-validate missing (tools/install-deps.sh installs it)" >&2; exit 1; }

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail=0
check() {  # check WHAT COMMAND...: runs COMMAND, reports WHAT when it fails
  local what=$1
  shift
  if ! "$@" >/dev/null 2>&1; then
    echo "install_test: $what" >&2
    fail=1
  fi
}

desktop=$prefix/share/applications/quillwright.desktop
mime=$prefix/share/mime/packages/quillwright.xml
for f in bin/quillwright bin/qwtool share/icons/hicolor/scalable/apps/quillwright.svg \
  share/man/man1/quillwright.1 share/man/man1/qwtool.1; do
  check "$f is not installed" test -s "$prefix/$f"
done
check "bin/qwtool does not run" "$prefix/bin/qwtool" --version
check "bin/quillwright does not answer --help" "$prefix/bin/quillwright" --help
check "the .desktop file is not valid" desktop-file-validate "$desktop"
check "the .desktop file does not open a file with %f" grep -qx 'Exec=quillwright %f' "$desktop"
check "the icon is not SVG" grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/quillwright.svg"

# Every type of the mime file is one the .desktop file opens, and the other way round; every
# extension has its glob, written in small letters (globs match either case).
types_xml=$(grep -o 'mime-type type="[^"]*"' "$mime" | cut -d'"' -f2 | sort)
types_desktop=$(grep '^MimeType=' "$desktop" | cut -d= -f2 | tr ';' '\n' | sed '/^$/d' | sort)
check "the .desktop MIME types differ from the mime file's" test "$types_xml" = "$types_desktop"
for ext in bas frm cls vbp mak prg; do
  check "no glob for .$ext" grep -q "<glob pattern=\"\\*\\.$ext\"/>" "$mime"
done
check "a glob is case-sensitive" bash -c "! grep -q 'case-sensitive=\"true\"' '$mime'"
if command -v update-mime-database >/dev/null; then
  check "update-mime-database refuses the mime file" update-mime-database "$prefix/share/mime"
fi
if command -v groff >/dev/null; then
  for page in quillwright qwtool; do
    check "man page $page does not format cleanly" \
      bash -c "groff -man -Tutf8 -ww -z '$prefix/share/man/man1/$page.1' 2>&1 | (! grep .)"
  done
fi
[ $fail -eq 0 ] && echo "install_test: installed into a temporary prefix and checked"
exit $fail
