#!/usr/bin/env bash
# Builds the Debian package, checks that its dependencies are installed packages, unpacks it
# into a scratch root and starts the installed program.
set -euo pipefail
construccion=$1
raiz=$(mktemp -d)
trap 'rm -rf "$raiz"' EXIT
cd "$construccion"
cpack -G DEB -B "$raiz/paquete" >/dev/null
paquete=$(ls "$raiz"/paquete/*.deb)
for dependencia in $(dpkg-deb -f "$paquete" Depends | tr -d ' ' | tr ',' ' '); do
    dpkg-query -W -f='${Status}' "$dependencia" 2>/dev/null | grep -q 'install ok installed' \
        || { echo "dependencia no instalable aquí: $dependencia"; exit 1; }
done
dpkg-deb -x "$paquete" "$raiz/instalado"
for archivo in usr/bin/deremisiones usr/bin/plantillas usr/share/applications/deremisiones.desktop \
    usr/share/icons/hicolor/scalable/apps/deremisiones.svg \
    usr/share/deremisiones/plantillas/fmtRemision.rpt.fuente; do
    [ -e "$raiz/instalado/$archivo" ] || { echo "falta $archivo en el paquete"; exit 1; }
done
version=$(env -u DISPLAY -u QT_QPA_PLATFORM "$raiz/instalado/usr/bin/deremisiones" --version)
echo "$version"
[ "$version" = "deremisiones $(dpkg-deb -f "$paquete" Version)" ]
