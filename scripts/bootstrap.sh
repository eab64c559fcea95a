#!/usr/bin/env bash
# Installs, once, what a fresh Debian 12 machine needs to build, run and test the program.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-server firebird3.0-utils
  qt6-base-dev qt6-translations-l10n
  libzip-dev libxml2-utils
  fonts-liberation fonts-liberation2
  xvfb xauth poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  echo "Instalowanie pakietów: ${missing[*]}"
  # The server package asks for a password in a dialog; preseed it so the install never stops.
  echo "firebird3.0-server shared/firebird/sysdba_password/first_install password quillform" | "${sudo_cmd[@]}" debconf-set-selections 2>/dev/null || true
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
