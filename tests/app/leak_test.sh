#!/usr/bin/env bash
# No leak of the program's own at exit: spawns a few hundred sprites (and takes some back, clicks,
# types other keys), ends the program with Escape and reads the leak report. A leaked block is
# ours when the first frame after the allocator lies in our executable; the GL, Mesa, X and GLUT
# libraries' blocks are suppressed or, where Mesa's driver has been unloaded, show no module.
# Works on a build with -DVORANDEL_SANITIZE=ON (LeakSanitizer); on another build it runs the program
# under valgrind when VORANDEL_LEAK_TOOL=valgrind (Mesa's JIT under valgrind now and then crashes,
# so that is not the default) and otherwise reports a skip (status 77).
E2E_CHECK_LEAKS=1
source "$(dirname "$0")/e2e_lib.sh"

program=$(readlink -f "$VORANDEL")
if ldd "$program" 2>/dev/null | grep -q 'libasan\.so' ||
    nm "$program" 2>/dev/null | grep -q ' __asan_init$'; then
    mode=asan
    letters=150
    export ASAN_OPTIONS="detect_leaks=1:stack_trace_format=\"    #%n %p in %f %S module=%m\""
    export LSAN_OPTIONS="suppressions=$E2E_DIR/lsan.supp:print_suppressions=0:exitcode=0"
elif [ "${VORANDEL_LEAK_TOOL:-}" = valgrind ]; then
    mode=valgrind
    letters=100
    wrapper="$WORK/under_valgrind"
    cat >"$wrapper" <<WRAP
#!/usr/bin/env bash
exec valgrind --leak-check=full --show-leak-kinds=definite,indirect --keep-debuginfo=yes \
    --fullpath-after= --num-callers=40 --suppressions="$E2E_DIR/valgrind.supp" \
    --log-file="$WORK/valgrind.log" "$program" "\$@"
WRAP
    chmod +x "$wrapper"
    VORANDEL=$wrapper
else
    echo "SKIP: not a sanitizer build (set VORANDEL_LEAK_TOOL=valgrind to use valgrind)"
    exit 77
fi

start_display
start_program
RANDOM=99
text=""
for _ in $(seq "$letters"); do
    text+=$(printf "\\x$(printf %x $((97 + RANDOM % 26)))")
done
xdotool type --delay 5 "$text"
xdotool key --delay 5 1 2 space period Return
wait_output_bytes $((2 * letters)) 120
[ "$(output_newlines)" -eq $((2 * letters)) ] ||
    fail "expected $((2 * letters)) newlines, got $(output_newlines)"
xdotool key --delay 5 BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool mousemove --window "$WID" 200 200 click 1 click 3
sleep 0.5
escape_ends_with_zero 120

# Prints "ours" or "theirs" for each reported leak: the first frame that is not the allocator
# decides. LSan frames name their module; valgrind frames name a library ("in /lib/...") or, for
# our executable (which has debug information), a source file.
if [ "$mode" = asan ]; then
    report="$WORK/stderr"
    verdicts=$(awk -v prog="$program" '
        /^(Direct|Indirect) leak of/ { inblock = 1; decided = 0; next }
        inblock && /^ *#[0-9]+ / {
            if (decided) next
            if ($0 ~ /(malloc|calloc|realloc|memalign|aligned_alloc|valloc|strdup|strndup|operator new)/) next
            decided = 1
            if (index($0, "module=" prog) > 0) print "ours"; else print "theirs"
            next
        }
        /^$/ { inblock = 0 }' "$report")
else
    report="$WORK/valgrind.log"
    verdicts=$(awk '
        /are (definitely|indirectly) lost in loss record/ { inblock = 1; decided = 0; next }
        inblock && /(at|by) 0x/ {
            if (decided) next
            if ($0 ~ /(malloc|calloc|realloc|memalign|aligned_alloc|strdup|operator new)/) next
            if ($0 ~ /\/usr\/include\/c\+\+\//) next
            decided = 1
            if ($0 ~ /\(in \// || $0 ~ /: \?\?\?$/) print "theirs"; else print "ours"
            next
        }
        /== *$/ { inblock = 0 }' "$report")
fi
ours=$(grep -c '^ours$' <<<"$verdicts" || true)
theirs=$(grep -c '^theirs$' <<<"$verdicts" || true)
echo "$mode: $((2 * letters)) sprites spawned; leak records: $ours ours, $theirs of the libraries"
if [ "$ours" -gt 0 ]; then
    echo "--- leak report:" >&2
    cat "$report" >&2
    exit 1
fi
echo PASS
