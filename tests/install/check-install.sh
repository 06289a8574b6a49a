#!/bin/sh
# Checks of an installed Fenwarra, run by ctest:
#   check-install.sh install  <build dir> <work dir> <app id> <icon sizes...>
#     installs into a deep folder in <work dir>, checks its files and that the
#     installed program makes its database from its installed data
#   check-install.sh desktop  <work dir> <app id>   desktop-file-validate
#   check-install.sh metainfo <work dir> <app id>   appstreamcli validate
# The two validations are skipped (exit 77) where their tool is missing.
set -eu
mode=$1
shift

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The folder that the checks install into and give the installed program as
# its home: deliberately deep (200 characters at least), however short the
# build's own path. fontconfig, beneath Qt, keeps some memory to the end of a
# process when the paths of the home folder are long, as they are in a clone
# in a deep folder; the sanitizer build's leak check must meet that case here
# every time, not only where the tree happens to lie deep.
deep_folder() {
  d=$1/deep
  while [ ${#d} -lt 200 ]; do
    d=$d/0123456789abcdef
  done
  echo "$d"
}

# Width and height of a PNG, from its header.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

case "$mode" in
install)
  build=$1 work=$2 id=$3
  shift 3
  deep=$(deep_folder "$work")
  prefix=$deep/prefix
  rm -rf "$work"
  mkdir -p "$deep"
  cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }
  for f in bin/fenwarra lib/fenwarra/libfenwarra_sound.so share/fenwarra/schema.sql \
           "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
           "share/icons/hicolor/scalable/apps/$id.svg"; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
  done
  for size in "$@"; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ -f "$png" ] || fail "no ${size}x${size} icon"
    [ "$(png_size "$png")" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $(png_size "$png")"
  done

  # The installed program makes its first database from its installed data,
  # not from the source tree it was built from (which exists beside it here):
  # a mark added to the installed rows must be in the new file.
  printf 'CREATE TABLE [InstallCheck] ([Mark] TEXT);\n' >"$prefix/share/fenwarra/rows/zz_install_check.sql"
  # The runtime folder holds the link's socket, whose path may not be long.
  home=$deep/home
  runtime=$work/run
  mkdir -p "$home/config" "$home/data" "$runtime"
  chmod 700 "$runtime"
  if ! HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$runtime \
       QT_QPA_PLATFORM=offscreen FENWARRA_BENCH_QUIT_WHEN_SHOWN=1 \
       timeout 60 "$prefix/bin/fenwarra" >"$work/run.log" 2>&1; then
    cat "$work/run.log"
    fail "the installed program did not start and end cleanly"
  fi
  db=$home/data/Fenwarra/Fenwarra.mdb
  [ -f "$db" ] || fail "the installed program made no database"
  grep -aq 'InstallCheck' "$db" || fail "the installed program made its database from other data than its own"
  echo "installed into $prefix; the installed program uses $prefix/share/fenwarra"
  ;;
desktop)
  work=$1 id=$2
  command -v desktop-file-validate >/dev/null || { echo "desktop-file-validate is not installed"; exit 77; }
  out=$(desktop-file-validate "$(deep_folder "$work")/prefix/share/applications/$id.desktop" 2>&1) || { echo "$out"; fail "desktop entry"; }
  # Hints are advice; warnings and errors fail.
  if echo "$out" | grep -Eq 'error:|warning:'; then echo "$out"; fail "desktop entry"; fi
  echo "$out"
  ;;
metainfo)
  work=$1 id=$2
  command -v appstreamcli >/dev/null || { echo "appstreamcli is not installed"; exit 77; }
  prefix=$(deep_folder "$work")/prefix
  appstreamcli validate --no-net --explain "$prefix/share/metainfo/$id.metainfo.xml" || fail "metainfo"
  appstreamcli validate-tree --no-net "$prefix" || fail "installed tree"
  ;;
*)
  fail "unknown mode $mode"
  ;;
esac
