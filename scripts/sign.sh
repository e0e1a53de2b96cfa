#!/usr/bin/env bash
# Signs Windows programs and libraries in place with an Authenticode signature (SHA-256).
#
#   scripts/sign.sh CERT KEY FILE...
#   scripts/sign.sh BUNDLE FILE...
#
# CERT and KEY are PEM files: the certificate (or the certificate followed by its chain) and its
# private key. A BUNDLE is a PKCS#12 file (.p12 or .pfx) holding both. A key or bundle with a
# password takes it from the environment variable SETUP_SIGN_PASSWORD. A file signed before gets
# the new signature in place of the old. With SETUP_SIGN_TIMESTAMP set to the address of an
# RFC 3161 time-stamping service, each signature is timestamped there, so that it stays valid
# after the certificate has expired.
set -euo pipefail

case "${1:-}" in
    *.p12 | *.pfx) credentials=(-pkcs12 "$1") names=1 ;;
    *) credentials=(-certs "${1:-}" -key "${2:-}") names=2 ;;
esac
if [ $# -le $names ]; then
    echo "usage: $0 CERT KEY FILE... | $0 BUNDLE.p12 FILE..." >&2
    exit 2
fi
shift $names

# The password reaches the signer through a pipe, never its command line (which others can see).
sign() {
    if [ -n "${SETUP_SIGN_PASSWORD:-}" ]; then
        osslsigncode sign "${credentials[@]}" -readpass <(printf '%s' "$SETUP_SIGN_PASSWORD") "$@"
    else
        osslsigncode sign "${credentials[@]}" "$@"
    fi
}

for file in "$@"; do
    # The signer writes a new file; the signed one replaces the original only when whole.
    signed="$file.signing~"
    rm -f "$signed"
    timestamp=()
    [ -z "${SETUP_SIGN_TIMESTAMP:-}" ] || timestamp=(-ts "$SETUP_SIGN_TIMESTAMP")
    if ! sign -h sha256 "${timestamp[@]}" -in "$file" -out "$signed" >/dev/null; then
        rm -f "$signed"
        echo "sign: cannot sign $file" >&2
        exit 1
    fi
    mv -f "$signed" "$file"
done
