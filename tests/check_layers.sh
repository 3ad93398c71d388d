#!/usr/bin/env bash
# Fails on an include that points upwards in the layers of the source tree:
#   platform < solar < indices < horizon < series < diagrams < batch < engine < models
#   < charts, maps < cli, ui (charts: the Qt chart library beside the core; maps: the map
#   files through GDAL, likewise beside it)
# A file may include headers of its own folder and of the folders below it only (cli and ui
# not each other). The public headers (include/umbrix) include public headers only, and the
# folders below the engine include the public value types only (types.h, horizon.h,
# obstacle.h, thread_pool.h), never the calculation API. The examples use the public API only.
# Every quoted include of every C++ file is read; angle-bracket includes are other libraries.
set -uo pipefail
src="${1:-.}"
cd "$src" || exit 1
rank() {
    case "$1" in
        platform) echo 0 ;; solar) echo 1 ;; indices) echo 2 ;; horizon) echo 3 ;;
        series) echo 4 ;; diagrams) echo 5 ;; batch) echo 6 ;; engine) echo 7 ;;
        models) echo 8 ;; charts | maps) echo 9 ;; cli | ui) echo 10 ;; *) echo -1 ;;
    esac
}
value_types="types.h horizon.h obstacle.h thread_pool.h"
faults=0
fault() {
    echo "layers: $1"
    faults=$((faults + 1))
}
while IFS= read -r file; do
    folder=${file#src/}
    folder=${folder%%/*}
    [[ $file == include/umbrix/* ]] && folder=public
    [[ $file == examples/* ]] && folder=example
    while IFS= read -r target; do
        top=${target%%/*}
        [ "$top" = "$target" ] && continue  # a header beside the file
        case "$folder" in
            public | example)
                [ "$top" = umbrix ] || fault "$file includes \"$target\": only the public headers umbrix/... may be"
                continue ;;
        esac
        if [ "$top" = umbrix ]; then
            header=${target#umbrix/}
            if [ "$(rank "$folder")" -lt "$(rank engine)" ] && [[ " $value_types " != *" $header "* ]]; then
                fault "$file ($folder) includes \"$target\": below the engine only the value types"
            fi
            continue
        fi
        from=$(rank "$folder")
        to=$(rank "$top")
        if [ "$to" -lt 0 ]; then
            fault "$file includes \"$target\" from an unknown folder"
        elif [ "$to" -gt "$from" ] || { [ "$to" -eq "$from" ] && [ "$top" != "$folder" ]; }; then
            fault "$file ($folder) includes \"$target\" ($top): an upward include"
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find src include examples -name '*.h' -o -name '*.cpp' | sort)
if [ "$faults" -gt 0 ]; then
    echo "layers: $faults upward include(s)"
    exit 1
fi
echo "layers: no upward include"
