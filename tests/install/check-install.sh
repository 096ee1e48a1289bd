#!/usr/bin/env bash
# check-install.sh WHAT PREFIX APP_ID [BUILD]: one check of an install into PREFIX.
#   install        installs the build folder BUILD into an empty PREFIX
#   files          every file the desktop needs is there; the PNG icons have their sizes
#   desktop-entry  desktop-file-validate passes; Exec and Icon name installed files
#   appstream      appstreamcli validate --no-net passes
#   mime           a MIME database built from the prefix types each extension as G-code, and
#                  beside the shared database as a type that the desktop entry lists
#   thumbnailer    the thumbnailer's command, run as a file manager runs it, writes the PNG
#   man-pages      each man page formats without a warning
# Exit 77 (skipped) when the tool that a check needs is not installed.
set -euo pipefail
what=$1 prefix=$2 id=$3
share=$prefix/share
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
need() { command -v "$1" >/dev/null || { echo "$1 is not installed: skipped"; exit 77; }; }
# The width and height in a PNG's header, as "WxH".
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'; }

case $what in
install)
  rm -rf "$prefix"
  cmake --install "$4" --prefix "$prefix"
  ;;
files)
  for f in bin/zorvit bin/zorvit-table bin/zorvit-render bin/zorvit-transform; do
    [ -x "$prefix/$f" ] || fail "$f is missing or not executable"
  done
  for f in applications/$id.desktop mime/packages/$id.xml metainfo/$id.metainfo.xml \
           thumbnailers/$id.thumbnailer icons/hicolor/scalable/apps/$id.svg \
           man/man1/zorvit.1 man/man1/zorvit-table.1 man/man1/zorvit-render.1 \
           man/man1/zorvit-transform.1 zorvit/word-help; do
    [ -s "$share/$f" ] || fail "share/$f is missing or empty"
  done
  for size in 16 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x${size}/apps/$id.png
    if [ ! -s "$png" ]; then
      fail "the $size px icon is missing"
    elif [ "$(png_size "$png")" != "${size}x${size}" ]; then
      fail "the $size px icon is $(png_size "$png")"
    fi
  done
  ;;
desktop-entry)
  need desktop-file-validate
  entry=$share/applications/$id.desktop
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
  exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  [ -x "$prefix/bin/$exec_name" ] || fail "Exec names $exec_name, which is not installed"
  [ "$(sed -n 's/^Icon=//p' "$entry")" = "$id" ] || fail "Icon is not $id"
  thumbnailer=$share/thumbnailers/$id.thumbnailer
  [ -x "$prefix/bin/$(sed -n 's/^TryExec=//p' "$thumbnailer")" ] ||
    fail "the thumbnailer's TryExec is not installed"
  [ "$(sed -n 's/^MimeType=//p' "$thumbnailer")" = "$(sed -n 's/^MimeType=//p' "$entry")" ] ||
    fail "the thumbnailer and the desktop entry list different types"
  ;;
appstream)
  need appstreamcli
  appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" ||
    fail "appstreamcli rejects the metainfo file"
  ;;
mime)
  need update-mime-database
  need gio
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  entry_types=";$(sed -n 's/^MimeType=//p' "$share/applications/$id.desktop")"
  # Our types alone, then beside the shared database's, where some of these extensions have
  # other meanings too: each program must then still be a type that Zorvit opens.
  for database in alone shared; do
    mime=$work/$database
    mkdir -p "$mime/share/mime/packages" "$mime/files"
    cp "$share/mime/packages/$id.xml" "$mime/share/mime/packages/"
    if [ $database = shared ]; then
      [ -f /usr/share/mime/packages/freedesktop.org.xml ] || continue
      cp /usr/share/mime/packages/freedesktop.org.xml "$mime/share/mime/packages/"
    fi
    XDG_DATA_DIRS=$mime/share update-mime-database "$mime/share/mime"
    for extension in ngc nc gcode cnc tap; do
      file=$mime/files/program.$extension
      printf 'G0 X1 Y1\nG1 X2 Y2\n' >"$file"
      type=$(XDG_DATA_DIRS=$mime/share XDG_DATA_HOME=$mime/share gio info -a standard::content-type "$file" |
             sed -n 's/^ *standard::content-type: //p')
      if [ $database = alone ]; then
        [ "$type" = text/x-gcode ] || fail "*.$extension is typed $type"
      else
        [[ $entry_types == *";$type;"* ]] ||
          fail "beside the shared database, *.$extension is typed $type, which Zorvit does not open"
      fi
    done
  done
  ;;
thumbnailer)
  # Runs the Exec line as a file manager does: %i the program, %o the image, %s the size.
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  printf 'G0 X10 Y0\nG1 X10 Y10\n' >"$work/program.ngc"
  command=$(sed -n 's/^Exec=//p' "$share/thumbnailers/$id.thumbnailer")
  command=${command//%i/$work/program.ngc}
  command=${command//%o/$work/thumbnail.png}
  command=${command//%s/128}
  # shellcheck disable=SC2086 # the Exec line is split at blanks, as the thumbnailer spec says
  env -u DISPLAY -u WAYLAND_DISPLAY PATH="$prefix/bin:$PATH" XDG_CONFIG_HOME="$work/config" \
    $command || fail "the thumbnailer's command failed: $command"
  [ "$(png_size "$work/thumbnail.png")" = 128x128 ] || fail "no 128 px thumbnail"
  ;;
man-pages)
  need man
  for page in "$share"/man/man1/*.1; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  done
  ;;
*)
  echo "unknown check $what" >&2
  exit 2
  ;;
esac

[ "$failures" -eq 0 ]
