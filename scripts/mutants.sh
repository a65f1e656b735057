#!/bin/sh
# Mutation testing: puts the faults of scripts/mutants.txt into the library,
# one at a time, and checks that the tests notice each of them.
#
#   scripts/mutants.sh [-k] [--tests REGEX] [--only ID...] [--rev REV] [TREE]
#
#   TREE           the sources to test (default: the repository this script
#                  is in); a Git work tree gives its tracked and untracked but
#                  not ignored files, any other directory all files but build/
#   --rev REV      the sources of commit REV of this repository instead
#   --tests REGEX  run only the CTest tests matching REGEX
#   --only ID...   only these faults (ids may also be given as ID,ID)
#   -k             keep going: run every test program for each fault instead
#                  of stopping at the first that fails
#
# The sources are copied into build/mutants/tree (only files whose content
# changed are replaced, so the build below stays incremental), configured and
# built once in build/mutants/build with the x86_64 toolchain, and the whole
# suite must pass unmutated. Then, for each fault: the text is replaced in the
# copy (it must occur exactly once in its file, else the fault is "stale"),
# only korvel.dll is rebuilt (the test programs load it at run time, so they
# need no relink), the tests run, and the file is restored. The test program
# of the fault's subsystem (src/<dir>/ -> test <dir>) runs first, since it is
# the likeliest to fail. Each test program gets MUTANTS_TEST_TIMEOUT seconds
# (default 300, as in `make test`): a fault that makes a test hang is caught.
#
# Output: one line per fault, "<id> caught|MISSED|stale|build-error  <text>",
# and "caught N of M"; the table also goes to build/mutants/result.txt, the
# output of each build and test run to build/mutants/logs/<id>.log.
#
# The list, scripts/mutants.txt ($MUTANTS_LIST when set): "# ..." comments,
# and entries of the form
#
#   == <id> <short description>
#   file: src/<dir>/<file>.cpp
#   - <exact text, part of one line, found exactly once in the file>
#   + <the text that replaces it>

set -u
root=$(CDPATH='' cd -- "$(dirname -- "$0")/.." && pwd) || exit 1
list=${MUTANTS_LIST:-$root/scripts/mutants.txt}
work=$root/build/mutants
tree=$work/tree
build=$work/build
logs=$work/logs
jobs=2

die() {
    echo "mutants: $*" >&2
    exit 2
}

keep_going=no
tests=
only=
rev=
src=$root
while [ $# -gt 0 ]; do
    case $1 in
        -k) keep_going=yes ;;
        --tests) [ $# -ge 2 ] || die "--tests needs a REGEX"; tests=$2; shift ;;
        --rev) [ $# -ge 2 ] || die "--rev needs a commit"; rev=$2; shift ;;
        --only)
            [ $# -ge 2 ] || die "--only needs fault ids"
            while [ $# -ge 2 ] && [ ! -d "$2" ]; do
                case $2 in -*) break ;; esac
                only="$only $(echo "$2" | tr ',' ' ')"
                shift
            done ;;
        -h|--help) sed -n '2,/^$/s/^# \{0,1\}//p' "$0"; exit 0 ;;
        -*) die "unknown option $1 (see --help)" ;;
        *) src=$(CDPATH='' cd -- "$1" && pwd) || die "no directory $1" ;;
    esac
    shift
done
[ -f "$list" ] || die "no list $list"

mkdir -p "$work" "$logs" || exit 1
# One run at a time: the copy and its build are shared.
exec 9>"$work/.lock"
flock -n 9 || die "another run holds $work/.lock"

start_time=$(date +%s)

# --- the copy ----------------------------------------------------------------

stage=$work/stage
rm -rf "$stage" && mkdir -p "$stage" || exit 1
if [ -n "$rev" ]; then
    git -C "$root" archive "$rev" | tar -xf - -C "$stage" || die "cannot read commit $rev"
elif [ "$(git -C "$src" rev-parse --show-toplevel 2>/dev/null)" = "$src" ]; then
    # Files deleted in the work tree are still listed; only existing ones go.
    (cd "$src" && git ls-files -co --exclude-standard -z |
        perl -0 -ne 'chomp; print "$_\0" if -f' | tar --null -T - -cf -) |
        tar -xf - -C "$stage" || die "cannot copy $src"
else
    (cd "$src" && find . -path ./build -prune -o -type f -print | tar -T - -cf -) |
        tar -xf - -C "$stage" || die "cannot copy $src"
fi
# Replaces the files of the copy whose content differs (a copy gets a new
# time, so make rebuilds from it) and removes those that are gone. A file left
# mutated by a killed run differs from its source, so it is replaced too.
perl -MFile::Find -MFile::Compare -MFile::Copy -MFile::Path=make_path -e '
    my ($from, $to) = @ARGV;
    my %keep;
    find({no_chdir => 1, wanted => sub {
        return unless -f;
        (my $rel = $File::Find::name) =~ s{^\Q$from\E/}{};
        $keep{$rel} = 1;
        my $dst = "$to/$rel";
        return if -f $dst && compare($_, $dst) == 0;
        (my $dir = $dst) =~ s{/[^/]*$}{};
        make_path($dir);
        copy($_, $dst) or die "copy $rel: $!\n";
        chmod((stat $_)[2] & 07777, $dst);
    }}, $from);
    find({no_chdir => 1, wanted => sub {
        return unless -f;
        (my $rel = $File::Find::name) =~ s{^\Q$to/\E}{};
        unlink $_ unless $keep{$rel};
    }}, $to) if -d $to;
' "$stage" "$tree" || die "cannot update $tree"
rm -rf "$stage"

# --- build and baseline ------------------------------------------------------

run=$tree/scripts/wine-run.sh
echo "== configuring and building $build"
cmake -S "$tree" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/mingw-x86_64.cmake" \
    -DKORVEL_TEST_TIMEOUT="${MUTANTS_TEST_TIMEOUT:-300}" >"$logs/build.log" 2>&1 &&
    cmake --build "$build" -j "$jobs" >>"$logs/build.log" 2>&1 ||
    die "the unmutated tree does not build (see $logs/build.log)"

# The file being mutated, relative to the copy, and its original content.
current=
orig=$work/original
restore() {
    if [ -n "$current" ]; then
        cp "$orig" "$tree/$current"
        current=
    fi
}
trap 'restore; "$run" --stop "$build" >/dev/null 2>&1' EXIT
trap 'exit 130' INT TERM HUP

# Prefix, display and wine server of this build, shared by all test runs.
"$run" --start "$build" >/dev/null || die "Wine does not start"

stop=--stop-on-failure
[ $keep_going = yes ] && stop=

# Runs the tests (all, or those of --tests), the subsystem's program $1 first.
run_tests() {
    if [ -n "$tests" ]; then
        (cd "$build" && ctest --output-on-failure $stop -R "$tests")
    elif [ -n "$1" ] && (cd "$build" && ctest -N -R "^$1\$" | grep -q 'Total Tests: 1$'); then
        (cd "$build" && ctest --output-on-failure -R "^$1\$") || [ $keep_going = yes ] || return 1
        (cd "$build" && ctest --output-on-failure $stop -E "^$1\$")
    else
        (cd "$build" && ctest --output-on-failure $stop)
    fi
}

echo "== tests of the unmutated tree"
base_start=$(date +%s)
run_tests "" >"$logs/baseline.log" 2>&1 ||
    die "the unmutated tree fails its tests (see $logs/baseline.log)"
echo "   passed in $(($(date +%s) - base_start)) s"

# --- the faults --------------------------------------------------------------

# Replaces $MUT_OLD by $MUT_NEW in file $1; exit code 2 unless it occurs
# exactly once.
apply() {
    perl -e '
        my ($f, $old, $new) = ($ARGV[0], $ENV{MUT_OLD}, $ENV{MUT_NEW});
        open my $h, "<", $f or exit 2;
        local $/;
        my $text = <$h>;
        close $h;
        my ($n, $at) = (0, -1);
        $n++ while length $old && ($at = index($text, $old, $at + 1)) >= 0;
        exit 2 unless $n == 1;
        substr($text, index($text, $old), length $old) = $new;
        open $h, ">", $f or exit 2;
        print $h $text;
        close $h or exit 2;
    ' "$1"
}

result=$work/result.txt
: >"$result"
caught=0 tested=0 faults=0

# Tries the fault read so far (id, desc, file, old, new) and records it.
try_fault() {
    [ -n "$id" ] || return 0
    if [ -n "$only" ]; then
        case " $only " in *" $id "*) ;; *) return 0 ;; esac
    fi
    faults=$((faults + 1))
    log=$logs/$id.log
    if [ ! -f "$tree/$file" ] || ! cp "$tree/$file" "$orig"; then
        status=stale
    else
        current=$file
        if ! MUT_OLD=$old MUT_NEW=$new apply "$tree/$file"; then
            status=stale
        elif ! cmake --build "$build" --target korvel -j "$jobs" >"$log" 2>&1; then
            status=build-error
        else
            tested=$((tested + 1))
            dir=${file#src/}
            dir=${dir%%/*}
            if run_tests "$dir" >>"$log" 2>&1; then
                status=MISSED
            else
                status=caught
                caught=$((caught + 1))
            fi
        fi
        restore
    fi
    printf '%-8s %-11s %s\n' "$id" "$status" "$desc" | tee -a "$result"
}

echo "== faults"
fault_start=$(date +%s)
id=
while IFS= read -r line || [ -n "$line" ]; do
    case $line in
        '#'*|'') ;;
        '== '*)
            try_fault </dev/null
            rest=${line#== }
            id=${rest%% *}
            desc=${rest#"$id"}
            desc=${desc# }
            file= old= new= ;;
        'file: '*) file=${line#file: } ;;
        '- '*) old=${line#- } ;;
        '+ '*) new=${line#+ } ;;
        '+') new= ;;
        *) echo "mutants: line not understood: $line" >&2 ;;
    esac
done <"$list"
try_fault </dev/null
fault_time=$(($(date +%s) - fault_start))

# The copy is clean again; so is its korvel.dll.
cmake --build "$build" --target korvel -j "$jobs" >>"$logs/build.log" 2>&1 ||
    echo "mutants: rebuilding the restored korvel.dll failed (see $logs/build.log)" >&2

summary="caught $caught of $tested"
[ $tested -lt $faults ] && summary="$summary ($((faults - tested)) stale or not built)"
echo "$summary" | tee -a "$result"
echo "time: $(($(date +%s) - start_time)) s in all, $fault_time s for $faults faults" \
    "($((fault_time / (faults > 0 ? faults : 1))) s each)"
[ $tested -eq $caught ]
