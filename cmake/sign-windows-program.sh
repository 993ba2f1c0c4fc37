#!/usr/bin/env bash
# Signs a Windows program in place with Authenticode (SHA-256), as the last step of its build.
#   sign-windows-program.sh PROGRAM CERTIFICATE.p12 TIMESTAMP_URL DESCRIPTION OSSLSIGNCODE OPENSSL [SIGNED_LIST]
# The certificate's password comes from the environment variable SORNA_SIGN_PASSWORD (unset:
# empty) and is handed on through the environment and a pipe only, never as an argument, so no
# other user sees it in a process list. The program is signed into a temporary file that
# replaces it only when signing succeeded; on any failure the program is removed, and so is
# every program named in SIGNED_LIST (one path a line: the build's other signed programs, the
# installer among them), so no unsigned file is left where a signed one was asked for, not even
# one from an earlier build that the failed build never reached.
set -uo pipefail
program=$1 certificate=$2 timestamp_url=$3 description=$4 osslsigncode=$5 openssl=$6 signed_list=${7-}
export SORNA_SIGN_PASSWORD=${SORNA_SIGN_PASSWORD-}
signed=$program.signing

give_up()
{
    local others=() other
    if [ -n "$signed_list" ] && [ -f "$signed_list" ]; then
        while IFS= read -r other; do
            [ -n "$other" ] && [ "$other" != "$program" ] && [ -e "$other" ] || continue
            rm -f "$other" && others+=("$(basename "$other")")
        done < "$signed_list"
    fi
    rm -f "$signed" "$program"
    echo "error: $(basename "$program") was not signed and has been removed: $*" >&2
    [ ${#others[@]} -eq 0 ] \
        || echo "error: removed as well, so that none of them stays unsigned: ${others[*]}" >&2
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
