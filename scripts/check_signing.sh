#!/usr/bin/env bash
# Checks that scripts/sign.sh makes signatures that verify: signs copies of the given programs
# and libraries with a throw-away self-signed certificate and verifies each against it. A copy
# left unsigned and a signed copy with one byte changed must both fail to verify, or the check
# itself would prove nothing. Then a copy of the first file is signed with a timestamp from a
# time-stamping service on the loopback address: it still verifies after the certificate has
# expired, where a signature without a timestamp does not.
#
#   scripts/check_signing.sh FILE...
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 FILE..." >&2
    exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
tsa_pid=
stop() {
    if [ -n "$tsa_pid" ]; then
        kill "$tsa_pid" 2>/dev/null || true
        wait "$tsa_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap stop EXIT

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

# The time-stamping service: its own certificate, and OpenSSL's replies behind a loopback server.
tsa=$work/tsa
mkdir "$tsa"
openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/CN=Zinkolar Test Time Stamping" \
    -addext "extendedKeyUsage=critical,timeStamping" -keyout "$tsa/key.pem" -out "$tsa/cert.pem" \
    2>/dev/null
echo 01 >"$tsa/serial"
cat >"$tsa/tsa.cnf" <<CONFIG
[ tsa ]
default_tsa = test_tsa
[ test_tsa ]
serial = $tsa/serial
signer_cert = $tsa/cert.pem
certs = $tsa/cert.pem
signer_key = $tsa/key.pem
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
CONFIG
python3 "$here/tsa_responder.py" "$tsa/tsa.cnf" "$tsa/port" &
tsa_pid=$!
for _ in $(seq 50); do
    [ -s "$tsa/port" ] && break
    sleep 0.1
done
name=$(basename "$1")
cp "$1" "$work/stamped"
cp "$1" "$work/unstamped"
SETUP_SIGN_TIMESTAMP="http://127.0.0.1:$(cat "$tsa/port")" \
    "$here/sign.sh" "$work/cert.pem" "$work/key.pem" "$work/stamped"
"$here/sign.sh" "$work/cert.pem" "$work/key.pem" "$work/unstamped"
# Five days on, the two-day certificate has expired.
later=$(($(date +%s) + 5 * 86400))
verifies_later() {
    osslsigncode verify -CAfile "$work/cert.pem" -TSA-CAfile "$tsa/cert.pem" -time "$later" \
        -in "$1" >"$work/verify.log" 2>&1
}
if verifies_later "$work/stamped" && grep -q "Timestamp" "$work/verify.log"; then
    echo "check_signing: $name timestamped and verified after its certificate expired"
else
    echo "check_signing: $name with a timestamp does not verify after its certificate expired:" >&2
    cat "$work/verify.log" >&2
    status=1
fi
if verifies_later "$work/unstamped"; then
    echo "check_signing: $name without a timestamp verifies after its certificate expired" >&2
    status=1
fi
exit $status
