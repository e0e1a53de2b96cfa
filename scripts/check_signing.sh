#!/usr/bin/env bash
# Checks that scripts/sign.sh makes signatures that verify: signs copies of the given programs
# and libraries with a throw-away self-signed certificate and verifies each against it. A copy
# left unsigned and a signed copy with one byte changed must both fail to verify, or the check
# itself would prove nothing.
#
#   scripts/check_signing.sh FILE...
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 FILE..." >&2
    exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Zinkolar Test Signing" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" \
    2>/dev/null

verifies() {
    osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.log" 2>&1
}

status=0
for file in "$@"; do
    name=$(basename "$file")
    copy="$work/$name"
    cp "$file" "$copy"
    if verifies "$copy"; then
        echo "check_signing: $name verifies before it is signed" >&2
        status=1
    fi
    "$here/sign.sh" "$work/cert.pem" "$work/key.pem" "$copy"
    if verifies "$copy"; then
        echo "check_signing: $name signed and verified"
    else
        echo "check_signing: $name does not verify:" >&2
        cat "$work/verify.log" >&2
        status=1
    fi
    # A byte of the first section (past the headers) changed after signing.
    cp "$copy" "$work/tampered"
    printf '\x5a' | dd of="$work/tampered" bs=1 seek=1024 conv=notrunc 2>/dev/null
    if cmp -s "$copy" "$work/tampered"; then
        printf '\x00' | dd of="$work/tampered" bs=1 seek=1024 conv=notrunc 2>/dev/null
    fi
    if verifies "$work/tampered"; then
        echo "check_signing: $name verifies after it was changed" >&2
        status=1
    fi
done
exit $status
