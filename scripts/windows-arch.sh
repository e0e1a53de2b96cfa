#!/usr/bin/env bash
# The Windows architecture that this machine can run the program and its tests in: i686 (the
# product's own, under 32-bit Wine) where the kernel runs 32-bit programs, else x86_64 under
# 64-bit Wine (some kernels are built without 32-bit support; the 32-bit loader then fails with
# "Exec format error").
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo i686
else
    echo x86_64
fi
