#!/usr/bin/env bash
# The packages built a second time, from a copy of the sources in another folder, and signed
# there with a throw-away certificate. CTest runs one step a test:
#   packages_test.sh rebuild SOURCE BUILD  copies the sources (the files git knows, as they
#                                          are now) to BUILD/rebuild/source and makes the
#                                          packages there, from its own `windows` preset
#   packages_test.sh compare SOURCE BUILD  the second build's tapster.exe and packages are
#                                          the same bytes as BUILD's, or it says how not
#   packages_test.sh sign SOURCE BUILD     the second build signed: what fails and how, then
#                                          packages that osslsigncode verifies; the signed
#                                          installer and program go to BUILD/packages-signed
set -euo pipefail
step="$1"
source_dir="$2"
build="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
copy="$build/rebuild/source"
second="$copy/build/windows"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
packages=("Tapster-$version-portable.zip" "Tapster-$version-setup.exe" "Tapster-$version.msi")

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# The first build's values that its packages show (the publisher's), given to the second.
publisher_options() {
    sed -n 's/^\(TAPSTER_[A-Z_]*\):STRING=\(.*\)$/-D\1=\2/p' "$build/CMakeCache.txt" |
        grep -v '^-DTAPSTER_SIGN_'
}

rebuild() {
    rm -rf "$build/rebuild"
    mkdir -p "$copy"
    (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
        tar --null --files-from=- --ignore-failed-read -cf -) | tar -xf - -C "$copy"
    # The commit's time, as the first build took it: the copy has no history.
    SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git -C "$source_dir" log -1 --format=%ct)}"
    export SOURCE_DATE_EPOCH
    local options
    mapfile -t options < <(publisher_options)
    cd "$copy"
    cmake --preset windows -DTAPSTER_TESTS=OFF "${options[@]}" >/dev/null
    cmake --build --preset windows -j 2 --target package
}

# how_they_differ OURS THEIRS: what the tools of the file's kind tell apart.
how_they_differ() {
    local ours="$1" theirs="$2"
    echo "  $(cmp -l "$ours" "$theirs" 2>/dev/null | wc -l) bytes differ;" \
        "$(cmp "$ours" "$theirs" 2>&1 | sed 's/^.*differ: //')"
    case "$ours" in
    *.zip) diff <(zipinfo -v "$ours" | tail -n +2) <(zipinfo -v "$theirs" | tail -n +2) ;;
    *.msi)
        mkdir -p "$build/rebuild/first" "$build/rebuild/second"
        (cd "$build/rebuild/first" && msidump -s -t "$ours" >/dev/null)
        (cd "$build/rebuild/second" && msidump -s -t "$theirs" >/dev/null)
        diff -r "$build/rebuild/first" "$build/rebuild/second"
        ;;
    *setup.exe) echo "  (the installer is compressed as a whole: no finer difference is shown)" ;;
    *.exe) diff <(x86_64-w64-mingw32-objdump -x "$ours") <(x86_64-w64-mingw32-objdump -x "$theirs") ;;
    esac | head -n 40 | sed 's/^/  /'
}

compare() {
    if grep -q '^TAPSTER_SIGN_PKCS12:FILEPATH=..*' "$build/CMakeCache.txt"; then
        echo "The first build signs its packages, with a signing time: nothing to compare."
        exit 77
    fi
    local name ours theirs differ=0
    for name in tapster.exe "${packages[@]}"; do
        if [[ $name == tapster.exe ]]; then
            ours="$build/src/tapster.exe" theirs="$second/src/tapster.exe"
        else
            ours="$build/packages/$name" theirs="$second/packages/$name"
        fi
        if cmp -s "$ours" "$theirs"; then
            echo "the same: $name $(sha256sum <"$ours" | cut -c 1-64)"
        else
            differ=1
            echo "DIFFERENT: $name"
            echo "  $(sha256sum <"$ours" | cut -c 1-64) $(stat -c %s "$ours") bytes, $ours"
            echo "  $(sha256sum <"$theirs" | cut -c 1-64) $(stat -c %s "$theirs") bytes, $theirs"
            how_they_differ "$ours" "$theirs" || true
        fi
    done
    ((differ == 0)) || fail "two builds of the same sources made different files (above)"
}

# fails_to_sign WHAT MESSAGE: the package build fails, says MESSAGE, and makes no package.
fails_to_sign() {
    local what="$1" message="$2" said
    rm -rf "$second/packages"
    if said="$(cmake --build --preset windows -j 2 --target package 2>&1)"; then
        fail "$what: the build succeeded"
    fi
    grep -qF -- "$message" <<<"$said" || fail "$what: no \"$message\" in:"$'\n'"$said"
    if compgen -G "$second/packages/Tapster-*" >/dev/null; then
        fail "$what: packages were made: $(ls "$second/packages")"
    fi
    echo "refused, $what: $(grep -F -- "$message" <<<"$said" | head -n 1)"
}

# verify FILE: signed with the throw-away certificate, SHA-256, with the product's name.
verify() {
    local said
    said="$(osslsigncode verify -CAfile "$keys/cert.pem" -in "$1" 2>&1)" ||
        fail "osslsigncode does not verify $1:"$'\n'"$said"
    for expected in "Text description: Tapster" "URL description: https://" \
        "Message digest algorithm *: SHA256"; do
        grep -qE "$expected" <<<"$said" || fail "no \"$expected\" in the signature of $1"
    done
    echo "signed: $(basename "$1")"
}

sign() {
    keys="$build/rebuild/keys"
    mkdir -p "$keys"
    export TAPSTER_SIGN_PASSWORD="a throw-away's password"
    openssl req -x509 -newkey rsa:2048 -nodes -keyout "$keys/key.pem" -out "$keys/cert.pem" \
        -days 2 -subj "/CN=Tapster test signer" -addext "extendedKeyUsage=codeSigning" \
        -addext "keyUsage=digitalSignature" 2>/dev/null
    openssl pkcs12 -export -inkey "$keys/key.pem" -in "$keys/cert.pem" -out "$keys/signer.pfx" \
        -passout env:TAPSTER_SIGN_PASSWORD
    head -c 600 /dev/urandom >"$keys/not-a-certificate.pfx"
    cd "$copy"
    osslsigncode verify -CAfile "$keys/cert.pem" -in "$second/src/tapster.exe" >/dev/null 2>&1 &&
        fail "osslsigncode verifies an unsigned tapster.exe"

    local said
    if said="$(cmake --preset windows -DTAPSTER_SIGN_PKCS12="$keys/missing.pfx" 2>&1)"; then
        fail "a build configured with a missing certificate"
    fi
    grep -qF "there is no certificate file" <<<"$said" ||
        fail "no word of the missing certificate in:"$'\n'"$said"
    cmake --preset windows -DTAPSTER_SIGN_PKCS12="$keys/not-a-certificate.pfx" >/dev/null
    fails_to_sign "no certificate in the file" "cannot read a code-signing key and certificate from"
    cmake --preset windows -DTAPSTER_SIGN_PKCS12="$keys/signer.pfx" >/dev/null
    TAPSTER_SIGN_PASSWORD="not the password" \
        fails_to_sign "a wrong password" "the password in TAPSTER_SIGN_PASSWORD does not open"
    (unset TAPSTER_SIGN_PASSWORD && fails_to_sign "no password" "set TAPSTER_SIGN_PASSWORD")

    rm -rf "$second/packages"
    cmake --build --preset windows -j 2 --target package >/dev/null
    local signed_exe="$second/packaging/signed/tapster.exe" name
    verify "$signed_exe"
    for name in "Tapster-$version-setup.exe" "Tapster-$version.msi"; do
        verify "$second/packages/$name"
    done
    # The program in every package is that one, and it is the unsigned one plus a signature.
    unzip -p "$second/packages/Tapster-$version-portable.zip" tapster.exe | cmp -s - "$signed_exe" ||
        fail "the zip holds another tapster.exe than the signed one"
    osslsigncode remove-signature -in "$signed_exe" -out "$build/rebuild/unsigned.exe" >/dev/null
    cmp -s "$build/rebuild/unsigned.exe" "$second/src/tapster.exe" ||
        fail "the signed tapster.exe is more than the unsigned one and a signature"
    "${TAPSTER_PYTHON3:-python3}" "$here/check_manifest.py" "$second/packages" "$version"

    # For the Wine tests: the signed installer, the signed program and the certificate.
    rm -rf "$build/packages-signed"
    mkdir -p "$build/packages-signed"
    cp "$second/packages/Tapster-$version-setup.exe" "$signed_exe" "$keys/cert.pem" \
        "$build/packages-signed/"
}

case "$step" in
rebuild | compare | sign) "$step" ;;
*) fail "no step $step" ;;
esac
