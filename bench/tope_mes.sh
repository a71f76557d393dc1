#!/usr/bin/env bash
# Cap job "&Aplicar" over a month of a busy store, from the command line, against the private
# MariaDB; prints its time and the ratio to the bound: the time the same server takes to copy
# the same chosen notes and lines with one INSERT … SELECT each.
#   bench/tope_mes.sh [DIAS] [NOTAS_POR_DIA] [PARTIDAS]
set -euo pipefail

raiz=$(cd "$(dirname "$0")/.." && pwd)
dias=${1:-30}
notas=${2:-300}
partidas=${3:-5}
cd "$raiz"
cmake --build build -j"$(nproc)" --target deremisiones generar-tienda >/dev/null
scripts/mariadb start
eval "$(scripts/mariadb env)"
sql() { mariadb --no-defaults -h"$DEREMISIONES_MYSQL_HOST" -P"$DEREMISIONES_MYSQL_PUERTO" -uroot "$@"; }

trabajo=$(mktemp -d)
trap 'rm -rf "$trabajo"' EXIT
base=banco_tope
sql -e "DROP DATABASE IF EXISTS $base; CREATE DATABASE $base CHARACTER SET utf8mb4"
sql "$base" <tests/fixtures/host_schema.sql
build/generar-tienda --dias "$dias" --notas "$notas" --partidas "$partidas" --base "$base" \
    | sql "$base"

mkdir -p "$trabajo/programa" "$trabajo/config/Orvane"
printf '[%s]\r\nservidor=%s\r\nMySQLPuerto=%s\r\n' "$trabajo/host" "$DEREMISIONES_MYSQL_HOST" \
    "$DEREMISIONES_MYSQL_PUERTO" >"$trabajo/config/Orvane/instalaciones.ini"
printf '[Configuraci\xf3n]\r\nRuta de Orvane Premium=%s\r\nBase de datos principal=%s\r\n' \
    "$trabajo/host" "$base" >"$trabajo/programa/DeRemisiones.ini"
export DEREMISIONES_CARPETA="$trabajo/programa" XDG_CONFIG_HOME="$trabajo/config"

total=$(sql -N "$base" -e "SELECT SUM(Subtotal+IVA+ImpuestoAd) FROM remisiones WHERE Cancelada=0 AND Serie='A'")
tope=$(awk -v t="$total" 'BEGIN { printf "%.2f", t / 4 }')
hasta=$(sql -N "$base" -e "SELECT DATE_FORMAT(MAX(Fecha), '%d/%m/%Y') FROM remisiones")

inicio=$(date +%s.%N)
build/deremisiones tope --desde 01/11/2026 --hasta "$hasta" --tope "$tope" --folio 1 --serie A \
    >"$trabajo/reja.txt"
fin=$(date +%s.%N)
elegidas=$(wc -l <"$trabajo/programa/ListaRemisiones.txt")

ids=$(cut -d, -f1 "$trabajo/programa/ListaRemisiones.txt" | paste -sd, -)
cotaInicio=$(date +%s.%N)
sql "$base" -e "CREATE TABLE cota LIKE remisiones; CREATE TABLE cotadet LIKE remisionesdetalle;
    INSERT INTO cota SELECT * FROM remisiones WHERE Id IN ($ids);
    INSERT INTO cotadet SELECT * FROM remisionesdetalle WHERE Id IN ($ids);"
cotaFin=$(date +%s.%N)
sql -e "DROP DATABASE $base"

awk -v a="$inicio" -v b="$fin" -v c="$cotaInicio" -v d="$cotaFin" -v n="$elegidas" \
    -v dias="$dias" -v notas="$notas" -v p="$partidas" 'BEGIN {
    t = b - a; cota = d - c;
    printf "tope: %d días × %d remisiones × %d partidas, %d elegidas\n", dias, notas, p, n;
    printf "  Aplicar: %.3f s   cota (INSERT … SELECT): %.3f s   razón: %.1f\n", t, cota, t / cota;
}'
