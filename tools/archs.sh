# Sourced by the scripts in tools/: which Windows builds this machine can run under Wine.
# x64 runs on every x86-64 machine (64-bit Wine); x86 only where the kernel runs 32-bit programs, which some
# machines' kernels refuse ("Exec format error"). VARNEL_ARCHS ("x64" or "x64 x86") forces the choice.

# Tries once, with a five-instruction 32-bit program that only exits.
varnel_runs_32bit() {
    if [ -z "${VARNEL_RUNS_32BIT:-}" ]; then
        local dir
        dir=$(mktemp -d)
        VARNEL_RUNS_32BIT=no
        if printf '.globl _start\n_start: mov $1, %%eax\n xor %%ebx, %%ebx\n int $0x80\n' |
            as --32 -o "$dir/exit.o" 2>/dev/null && ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" 2>/dev/null &&
            "$dir/exit" 2>/dev/null; then
            VARNEL_RUNS_32BIT=yes
        fi
        rm -rf "$dir"
        export VARNEL_RUNS_32BIT
    fi
    [ "$VARNEL_RUNS_32BIT" = yes ]
}

# The builds to run, x64 first, one per word; and, for x86 left out, why.
varnel_archs() {
    if [ -n "${VARNEL_ARCHS:-}" ]; then
        echo "$VARNEL_ARCHS"
    elif varnel_runs_32bit; then
        echo "x64 x86"
    else
        echo "x64"
    fi
}
varnel_x86_skipped_why() {
    if [ -n "${VARNEL_ARCHS:-}" ]; then
        echo "VARNEL_ARCHS=$VARNEL_ARCHS"
    else
        echo "this machine runs no 32-bit programs"
    fi
}

# The build tree of an architecture.
varnel_tree() { [ "$1" = x86 ] && echo mingw || echo mingw64; }

# The build that runs the system for the tour, the screenshots and the like: the 32-bit one the design
# describes where the machine runs it (or VARNEL_ARCHS names it last), else the 64-bit one.
varnel_run_arch() {
    local archs
    archs=$(varnel_archs)
    echo "${archs##* }"
}
