#!/bin/sh
# Checks that the library's sources include nothing of a higher layer.
#
#   system < text < diag < file < app < graphics < layout < controls < table, plot, dialogs
#
# A source file in src/<subsystem>/ belongs to its subsystem's layer; each
# public header of inc/ belongs to the layer listed below. Every include of a
# project header must be of the file's own layer or a lower one, unless the
# pair is on the allow-list (scripts/layers-allowed.txt), each entry with the
# reason the tie is inherent. Prints each violation; exits 1 when there is one.
#
#   check-layers.sh [ROOT]   ROOT: the repository (default: this script's)
set -u
root=${1:-$(dirname -- "$0")/..}
cd "$root" || exit 2

# Rank of a layer name.
rank() {
    case $1 in
        system) echo 0 ;; text) echo 1 ;; diag) echo 2 ;; file) echo 3 ;; app) echo 4 ;;
        graphics) echo 5 ;; layout) echo 6 ;; controls) echo 7 ;;
        table|plot|dialogs) echo 8 ;; top) echo 9 ;; *) echo "" ;;
    esac
}

# Layer of a public header, by file name.
header_layer() {
    case $1 in
        kexport.h|ksystem.h|kmemory.h|kgeometry.h|array) echo system ;;
        kstring.h|kformat.h|kdatetime.h|kstrutil.h|kvalue.h) echo text ;;
        kdiag.h) echo diag ;;
        kfile.h|kregistry.h|kmacro.h|koptionfile.h|kpath.h|kdir.h) echo file ;;
        kapp.h|kwindow.h|kargs.h|kevent.h|ktimer.h|kmenu.h|kservices.h) echo app ;;
        kgraphics.h|kdrawobj.h) echo graphics ;;
        kmetafile.h|kdib.h|krubber.h) echo graphics ;;
        kprint.h) echo graphics ;;
        kform.h|kmatrix.h|ktoplevel.h|kframe.h|krowcol.h|kgrid.h|kscrolled.h|ktabwin.h) echo layout ;;
        klabel.h|ktooltip.h|kbuttonbar.h|kmessagewin.h|klistbox.h|keditcontrol.h|kscrollbar.h) echo controls ;;
        kprompt.h|krangebtn.h|kcombo.h|kcolorprompt.h) echo controls ;;
        kdialog.h|kpopprompt.h|kcolordlg.h|kfiledlg.h) echo dialogs ;;
        kprintpreview.h) echo dialogs ;;
        ktablewin.h|ktableprint.h) echo table ;;
        kplotwin.h|kscopeplot.h|kdft.h) echo plot ;;
        korvel.h) echo top ;;
        *) echo "" ;;
    esac
}

# True when the include of header $2 by file $1 is on the allow-list, whose
# lines are "<file pattern> <header>  # why"; the pattern may hold * and ?.
allowed() {
    sed 's/#.*//' "$allowed" 2>/dev/null | while read -r pattern header; do
        [ -n "$pattern" ] || continue
        # shellcheck disable=SC2254
        case $1 in $pattern) [ "$header" = "$2" ] && echo yes && return ;; esac
    done
}

# Layer of a file of the tree: its directory under src/, or its name under inc/.
# The operating-system services of src/system/os/ ask windows about their
# state and their cursors, so they stand in the window core's layer.
file_layer() {
    case $1 in
        src/system/os/*) echo app ;;
        src/*) f=${1#src/}; echo "${f%%/*}" ;;
        inc/*) header_layer "${1#inc/}" ;;
    esac
}

allowed=scripts/layers-allowed.txt
status=0
unknown=0
for f in $(find inc src -type f \( -name '*.h' -o -name '*.cpp' -o -name array \) | sort); do
    own=$(file_layer "$f")
    own_rank=$(rank "$own")
    if [ -z "$own_rank" ]; then
        echo "layers: $f: no layer known for it (add it to scripts/check-layers.sh)"
        unknown=1
        continue
    fi
    # Quoted includes name project headers: public ones, or private ones of src/.
    for h in $(sed -n 's/^[ \t]*#[ \t]*include[ \t]*"\([^"]*\)".*/\1/p' "$f"); do
        if [ -f "inc/$h" ]; then
            layer=$(header_layer "$h")
        elif [ -f "$(dirname -- "$f")/$h" ]; then
            layer=$(file_layer "$(realpath -m --relative-to=. "$(dirname -- "$f")/$h")")
        else
            echo "layers: $f includes \"$h\", which is not a header of the library"
            status=1
            continue
        fi
        if [ -z "$layer" ]; then
            echo "layers: inc/$h: no layer known for it (add it to scripts/check-layers.sh)"
            unknown=1
            continue
        fi
        [ "$(rank "$layer")" -le "$own_rank" ] && continue
        [ -n "$(allowed "$f" "$h")" ] && continue
        echo "layers: $f ($own) includes $h ($layer), a higher layer"
        status=1
    done
done
[ $unknown -eq 0 ] || status=1
[ $status -eq 0 ] && echo "layers: every include keeps to its layer"
exit $status
