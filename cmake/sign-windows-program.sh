#!/usr/bin/env bash
# Signs a Windows program in place with Authenticode (SHA-256), as the last step of its build.
#   sign-windows-program.sh PROGRAM CERTIFICATE.p12 TIMESTAMP_URL DESCRIPTION OSSLSIGNCODE OPENSSL
# The certificate's password comes from the environment variable SORNA_SIGN_PASSWORD (unset:
# empty) and is handed on through the environment and a pipe only, never as an argument, so no
# other user sees it in a process list. The program is signed into a temporary file that
# replaces it only when signing succeeded; on any failure the program is removed, so no
# unsigned file is left where a signed one was asked for.
set -uo pipefail
program=$1 certificate=$2 timestamp_url=$3 description=$4 osslsigncode=$5 openssl=$6
export SORNA_SIGN_PASSWORD=${SORNA_SIGN_PASSWORD-}
signed=$program.signing

give_up()
{
    rm -f "$signed" "$program"
    echo "error: $(basename "$program") was not signed and has been removed: $*" >&2
    exit 1
}

[ -f "$certificate" ] && [ -r "$certificate" ] \
    || give_up "cannot read the code-signing certificate $certificate"
# Opening the certificate first tells a wrong password apart from other signing failures.
# Older certificates use ciphers that OpenSSL 3 keeps in its legacy provider.
"$openssl" pkcs12 -in "$certificate" -noout -passin env:SORNA_SIGN_PASSWORD >/dev/null 2>&1 \
    || "$openssl" pkcs12 -legacy -in "$certificate" -noout -passin env:SORNA_SIGN_PASSWORD >/dev/null 2>&1 \
    || give_up "the password in SORNA_SIGN_PASSWORD does not open the certificate $certificate (or it is not a PKCS#12 file)"

# osslsigncode reads the password from a file; /dev/stdin makes that file the pipe (Debian 12's
# osslsigncode knows no "-" for it, and an empty file is an error, so none for no password).
options=(-h sha256 -n "$description")
[ -z "$SORNA_SIGN_PASSWORD" ] || options+=(-readpass /dev/stdin)
[ -z "$timestamp_url" ] || options+=(-ts "$timestamp_url")
rm -f "$signed"
if ! output=$(printf '%s' "$SORNA_SIGN_PASSWORD" \
        | "$osslsigncode" sign -pkcs12 "$certificate" "${options[@]}" -in "$program" -out "$signed" 2>&1); then
    give_up "osslsigncode failed:
$output"
fi
[ -s "$signed" ] || give_up "osslsigncode wrote no signed file"
mv -f "$signed" "$program" || give_up "cannot replace it with the signed file"
