#!/usr/bin/env bash
# Installs, with apt, the Debian packages the build and the tests need, when
# any of them is missing. Run as root on Debian 12.
set -euo pipefail

PACCHETTI=(
  g++ cmake ninja-build pkg-config ccache
  libxml2-dev libxml2-utils libxslt1-dev libssl-dev openssl zlib1g-dev
  libcurl4-openssl-dev libzip-dev zipcmp zipmerge ziptool
  libpqxx-dev postgresql postgresql-common
  nlohmann-json3-dev libcpp-httplib-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  python3-aiosmtpd dovecot-pop3d tinyproxy-bin clang libclang-rt-14-dev
  openssh-server
  fop weasyprint
  doxygen dpkg-dev file
  qt6-base-dev
)

mancanti=()
for p in "${PACCHETTI[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    mancanti+=("$p")
  fi
done

if ((${#mancanti[@]})); then
  echo "Installo: ${mancanti[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Servono i permessi di root per installare i pacchetti mancanti." >&2
    exit 1
  fi
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${mancanti[@]}"
fi
