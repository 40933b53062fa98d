#!/usr/bin/env bash
# Renders the six pages of the main window offscreen (skinned as at start) to
# docs/page0.png … docs/page5.png. The keyword page, docs/page0.png, is the
# picture in the README.
#   KORVEL_BUILD_DIR  build directory to use (default: build, the default preset)
#   output directory  first argument (default: docs)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${KORVEL_BUILD_DIR:-build}"
out_dir="${1:-docs}"
if [ ! -f "$build_dir/build.ninja" ]; then
    if [ "$build_dir" != build ]; then
        echo "render_pages: $build_dir is not a configured build directory" >&2
        exit 1
    fi
    cmake --preset default >/dev/null
fi
cmake --build "$build_dir" --target render-pages
# The browser engine is chatty on stderr; keep its talk unless something fails.
log="$build_dir/render-pages.log"
if ! QT_QPA_PLATFORM=offscreen "$build_dir/tools/render-pages/render-pages" "$out_dir" 2>"$log"; then
    cat "$log" >&2
    exit 1
fi
