#!/usr/bin/env bash
# Re-saves the RTF files in ours/ (written in exactly the form our mark-up
# writes) with LibreOffice Writer, headless, into libreoffice/. The results
# are committed as test data: they show what a real word processor makes of
# our tag runs after a translator has opened and saved the file.
# Needs: soffice (Debian: libreoffice-writer-nogui). Not part of scripts/test.
set -euo pipefail
cd "$(dirname "$0")"

command -v soffice >/dev/null || { echo "soffice not found" >&2; exit 1; }
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
mkdir -p libreoffice
for file in ours/*.rtf; do
    soffice -env:UserInstallation=file://"$profile" --headless \
        --convert-to "rtf:Rich Text Format" --outdir libreoffice "$file" >/dev/null
done
ls -l libreoffice
