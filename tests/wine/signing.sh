#!/usr/bin/env bash
# Authenticode signing of the installer, with a throwaway CA and code-signing certificate made
# here (no network). The build signs SornaInstaller.exe with SHA-256, the signature verifies
# against that CA, and the signed installer still starts under Wine; the uninstaller (and the
# demo program) are signed too, before they are packed, so their copies in the payload verify;
# one changed payload byte breaks the signature; the password reaches the signing tools only
# through the environment and a pipe, never their command lines; a wrong password or an
# unreadable certificate stops the build with a clear message and leaves no SornaInstaller.exe,
# not even an unsigned one from an earlier build; and without a certificate the build is
# unsigned again. It reuses the Windows build folder ($SORNA_WINDOWS_BUILD_DIR):
# signing follows the link, so only the link is repeated.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
build=${SORNA_WINDOWS_BUILD_DIR:?}
exe=$build/SornaInstaller.exe
root=$SORNA_WINE_ROOT/signing
rm -rf "$root"
mkdir -p "$root"
fail() { echo "FAIL: $*" >&2; exit 1; }

# The build folder's own choice of certificate (normally none) is put back on every way out.
previous=$(sed -n 's/^SORNA_SIGN_PKCS12:FILEPATH=//p' "$build/CMakeCache.txt")
users_password=${SORNA_SIGN_PASSWORD-}
restored=
restore()
{
    [ -n "$restored" ] && return
    restored=1
    SORNA_SIGN_PASSWORD=$users_password "$top/scripts/build-windows" -DSORNA_SIGN_PKCS12="$previous" \
        > "$root/restore.log" 2>&1 || { echo "could not rebuild $exe as it was:" >&2; tail -n 20 "$root/restore.log" >&2; return 1; }
}
trap restore EXIT

# A CA and a code-signing certificate issued by it; the PKCS#12 file's password has blanks,
# a dollar sign and non-ASCII letters, which no shell quoting may lose on the way.
password='Sörna test $HOME pass'
export SORNA_SIGN_PASSWORD=$password
cd "$root"
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Sorna Test CA" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Sorna Test Signer" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' > signer.ext
openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -extfile signer.ext \
    -out signer.pem 2>/dev/null
openssl pkcs12 -export -in signer.pem -inkey signer.key -certfile ca.pem -out signer.p12 -passout env:SORNA_SIGN_PASSWORD
cd - >/dev/null

# The signing step on its own, with stand-ins for the tools that record what they were given.
mkdir -p "$root/stand-ins"
for tool in osslsigncode openssl; do
    cat > "$root/stand-ins/$tool" <<EOF
#!/usr/bin/env bash
printf '%s\n' "\$*" >> "$root/stand-ins/$tool.argv"
cat >> "$root/stand-ins/$tool.stdin"
env >> "$root/stand-ins/$tool.env"
[ "$tool" = openssl ] && exit 0
out=; while [ \$# -gt 0 ]; do [ "\$1" = -out ] && out=\$2; shift; done
echo signed > "\$out"
EOF
    chmod +x "$root/stand-ins/$tool"
done
echo program > "$root/stand-in.exe"
"$top/cmake/sign-windows-program.sh" "$root/stand-in.exe" "$root/signer.p12" "" "Sorna" \
    "$root/stand-ins/osslsigncode" "$root/stand-ins/openssl" < /dev/null || fail "the signing step failed with stand-in tools"
[ "$(cat "$root/stand-in.exe")" = signed ] || fail "the signed file did not replace the program"
! grep -qF "$password" "$root/stand-ins/osslsigncode.argv" "$root/stand-ins/openssl.argv" \
    || fail "the password was on a signing tool's command line"
[ "$(cat "$root/stand-ins/osslsigncode.stdin")" = "$password" ] || fail "osslsigncode was not given the password on its input"
grep -q -- "-h sha256 .*-readpass /dev/stdin" "$root/stand-ins/osslsigncode.argv" || fail "not signed with SHA-256, password read from the pipe"
grep -qxF "SORNA_SIGN_PASSWORD=$password" "$root/stand-ins/openssl.env" || fail "openssl was not given the password in its environment"

# A failed signing removes the other programs that the build signs as well.
echo program > "$root/stand-in.exe"
echo installer > "$root/Stand-in Installer.exe"
printf '%s\n' "$root/stand-in.exe" "$root/Stand-in Installer.exe" "$root/absent.exe" > "$root/signed-programs.txt"
if "$top/cmake/sign-windows-program.sh" "$root/stand-in.exe" "$root/missing.p12" "" "Sorna" \
        "$root/stand-ins/osslsigncode" "$root/stand-ins/openssl" "$root/signed-programs.txt" \
        < /dev/null > "$root/stand-in-refused.log" 2>&1; then
    fail "the signing step succeeded without a certificate"
fi
[ ! -e "$root/stand-in.exe" ] && [ ! -e "$root/Stand-in Installer.exe" ] \
    || fail "a failed signing left a program of the build"
grep -qF "removed as well, so that none of them stays unsigned: Stand-in Installer.exe" "$root/stand-in-refused.log" \
    || { cat "$root/stand-in-refused.log"; fail "a failed signing does not say which other programs it removed"; }

# An unsigned installer from an earlier build, then signing asked for with a wrong password: a
# program that goes into the payload is signed first and fails, so the build stops before the
# installer is linked again, and the earlier, unsigned installer must go as well.
SORNA_SIGN_PASSWORD= "$top/scripts/build-windows" -DSORNA_SIGN_PKCS12= > "$root/build-unsigned-first.log" 2>&1 \
    || { cat "$root/build-unsigned-first.log"; fail "the unsigned build failed"; }
[ -f "$exe" ] || fail "no installer after the unsigned build"
if env SORNA_SIGN_PASSWORD="not the password" "$top/scripts/build-windows" -DSORNA_SIGN_PKCS12="$root/signer.p12" \
        > "$root/build-over-unsigned.log" 2>&1; then
    fail "the build succeeded with a wrong password"
fi
grep -qF "the password in SORNA_SIGN_PASSWORD does not open the certificate" "$root/build-over-unsigned.log" \
    || { cat "$root/build-over-unsigned.log"; fail "with a wrong password, the build does not say why it stopped"; }
! grep -q "Linking CXX executable SornaInstaller.exe" "$root/build-over-unsigned.log" \
    || fail "the installer was linked again: this case needs the build to stop before it"
grep -qF "removed as well, so that none of them stays unsigned: " "$root/build-over-unsigned.log" \
    && grep -F "removed as well" "$root/build-over-unsigned.log" | grep -qF "SornaInstaller.exe" \
    || { cat "$root/build-over-unsigned.log"; fail "the build does not say that it removed the earlier installer"; }
[ ! -e "$exe" ] || fail "an unsigned SornaInstaller.exe from the earlier build was left where a signed one was asked for"

# The real build, signed.
"$top/scripts/build-windows" -DSORNA_SIGN_PKCS12="$root/signer.p12" > "$root/build-signed.log" 2>&1 \
    || { cat "$root/build-signed.log"; fail "the signed build failed"; }
! grep -rqF "$password" "$root/build-signed.log" "$build/build.ninja" "$build/CMakeCache.txt" \
    || fail "the password shows in the build's output or files"
osslsigncode verify -CAfile "$root/ca.pem" -in "$exe" > "$root/verify.log" 2>&1 \
    || { cat "$root/verify.log"; fail "the signed installer does not verify against the test CA"; }
grep -q "Message digest algorithm *: SHA256" "$root/verify.log" || fail "the signature's digest is not SHA-256"
grep -q "Subject: /CN=Sorna Test Signer" "$root/verify.log" || fail "not signed by the test certificate"
cp "$exe" "$root/signed.exe"

# Our programs that go into the payload are signed before they are packed: the built files and
# their copies inside the payload verify. A ready archive, or a folder with a program of its
# own, carries the vendor's program instead, which the build does not touch.
verify_signed() # file label
{
    osslsigncode verify -CAfile "$root/ca.pem" -in "$1" > "$root/verify-$2.log" 2>&1 \
        || { cat "$root/verify-$2.log"; fail "$2 does not verify against the test CA"; }
    grep -q "Subject: /CN=Sorna Test Signer" "$root/verify-$2.log" || fail "$2 is not signed by the test certificate"
}
payload_source=$(sed -n 's/^SORNA_PAYLOAD:PATH=//p' "$build/CMakeCache.txt")
programs=("Uninstall.exe=$build/Uninstall.exe")
[ -n "$payload_source" ] || programs+=("Sorna.exe=$build/demo/Sorna.exe")
for program in "${programs[@]}"; do
    entry=${program%%=*} file=${program#*=}
    verify_signed "$file" "$entry"
    case $payload_source in *.zip) continue ;; esac
    [ -n "$payload_source" ] && [ -e "$payload_source/$entry" ] && continue
    unzip -p "$build/payload/Sorna.zip" "$entry" > "$root/payload-$entry" || fail "no $entry in the payload"
    cmp -s "$file" "$root/payload-$entry" || fail "the payload's $entry is not the signed one the build made"
    verify_signed "$root/payload-$entry" "payload-$entry"
done

# Wine cannot start a 32-bit program on a kernel without 32-bit support (scripts/test-windows
# tells): then only this step is left out, and the output says so.
if [ "${SORNA_WINE_RUNS:-1}" = 1 ]; then
    SORNA_WINE_ROOT=$root SORNA_INSTALLER_EXE=$root/signed.exe "$here/startup.sh" > "$root/startup.log" 2>&1 \
        || { cat "$root/startup.log"; fail "the signed installer does not pass the start-up test"; }
else
    echo "skipped: the start-up of the signed installer under Wine (this machine cannot run 32-bit programs)"
fi

# One byte of the payload inside the signed file changed: the signature no longer holds.
python3 - "$root/signed.exe" "$SORNA_PAYLOAD_ZIP" "$root/tampered.exe" <<'PYTHON' || fail "the payload is not inside the signed installer"
import sys
exe, payload = bytearray(open(sys.argv[1], "rb").read()), open(sys.argv[2], "rb").read()
start = exe.find(payload[:4096])
if start < 0 or exe[start:start + len(payload)] != payload:
    sys.exit(1)
exe[start + len(payload) // 2] ^= 0x01
open(sys.argv[3], "wb").write(exe)
PYTHON
[ "$(cmp -l "$root/signed.exe" "$root/tampered.exe" | wc -l)" = 1 ] || fail "the tampered copy does not differ in exactly one byte"
if osslsigncode verify -CAfile "$root/ca.pem" -in "$root/tampered.exe" > "$root/verify-tampered.log" 2>&1; then
    fail "a changed payload byte still verifies"
fi
grep -q "MISMATCH" "$root/verify-tampered.log" || { cat "$root/verify-tampered.log"; fail "the tampered copy failed for another reason than its digest"; }

# A wrong password, then a certificate that cannot be read: the build stops, says why, and
# leaves no installer behind, signed or not. Each time the installer has to be linked again (the
# password is no part of the build's commands, so changing it alone does not sign again).
expect_refused()
{
    local what=$1 message=$2 log=$root/build-$3.log
    shift 3
    rm -f "$exe"
    if "$@" > "$log" 2>&1; then fail "the build succeeded with $what"; fi
    grep -qF "$message" "$log" || { cat "$log"; fail "with $what, the build does not say \"$message\""; }
    [ ! -e "$exe" ] || fail "with $what, a SornaInstaller.exe was left in the build folder"
    [ ! -e "$exe.signing" ] || fail "with $what, the temporary signed file was left behind"
}
expect_refused "a wrong password" "the password in SORNA_SIGN_PASSWORD does not open the certificate" wrong-password \
    env SORNA_SIGN_PASSWORD="not the password" "$top/scripts/build-windows" -DSORNA_SIGN_PKCS12="$root/signer.p12"
expect_refused "a missing certificate" "cannot read the code-signing certificate $root/missing.p12" missing \
    "$top/scripts/build-windows" -DSORNA_SIGN_PKCS12="$root/missing.p12"
head -c 3000 /dev/urandom > "$root/garbage.p12"
expect_refused "a damaged certificate" "does not open the certificate $root/garbage.p12" garbage \
    "$top/scripts/build-windows" -DSORNA_SIGN_PKCS12="$root/garbage.p12"

# Without a certificate the installer is built unsigned, as before.
if [ -z "$previous" ]; then
    restore || fail "the unsigned build failed"
    [ -f "$exe" ] || fail "no installer after the unsigned build"
    if osslsigncode verify -CAfile "$root/ca.pem" -in "$exe" > "$root/verify-unsigned.log" 2>&1; then
        fail "the build without a certificate is signed"
    fi
fi
[ "${SORNA_WINE_RUNS:-1}" = 1 ] && started="starts under Wine" || started="start under Wine skipped"
echo "signing: signed and verified (SHA-256) with the payload's programs, $started, tampering detected, password kept off command lines, bad certificates refused (no earlier installer left), unsigned without one"
