#!/usr/bin/env bash
# Takes the pictures of the templates' manual (docs/plantillas.md) from its own steps: the shipped
# template, changed as the manual says, shown on a note of the sample store with «plantillas
# muestra … --png» (150 dpi), and cut or scaled to the manual's sizes with ImageMagick.
#   tools/capturas-plantillas.sh CARPETA   (once scripts/demo --sin-ventana made the store)
set -euo pipefail

raiz=$(cd "$(dirname "$0")/.." && pwd)
[ $# -eq 1 ] || { echo "uso: tools/capturas-plantillas.sh CARPETA" >&2; exit 2; }
mkdir -p "$1"
carpeta=$(cd "$1" && pwd)
cd "$raiz"
eval "$(scripts/mariadb env)"
# The report engine's data sources, as scripts/demo registers them.
export ODBCINI="$raiz/build/demo/config/odbc.ini" QT_QPA_PLATFORM=offscreen
trabajo=$(mktemp -d)
trap 'rm -rf "$trabajo"' EXIT
fabrica=templates/fmtRemision.rpt.fuente
# The note the manual shows: A 3 of the sample store, five lines, IVA and IEPS of 0 % and more.
folio=3

# edita NOMBRE EXPRESIÓN: the shipped template with the manual's change (a sed expression).
edita() {
    sed "$2" "$fabrica" >"$trabajo/$1.rpt.fuente"
    cmp -s "$fabrica" "$trabajo/$1.rpt.fuente" && { echo "$1: el cambio no tocó la plantilla" >&2; exit 1; }
    return 0
}

# muestra NOMBRE: the note with the template NOMBRE, one PNG per sheet (NOMBRE.png or NOMBRE-n.png).
muestra() {
    printf '\n' | build/plantillas muestra --base datos1 "$trabajo/$1.rpt.fuente" --serie A \
        --folio "$folio" --png "$trabajo/$1.png" >/dev/null
}

# tira HOJA Y ALTO SALIDA: the sheet's printable width between Y and Y+ALTO pixels, 860 wide.
tira() {
    convert "$1" -crop "1157x$3+59+$2" +repage -resize 860x "$carpeta/$4"
    echo "$carpeta/$4"
}

# hojas SALIDA HOJA…: whole sheets 302 wide with a grey edge, side by side.
hojas() {
    local salida=$1
    shift
    convert "$@" -resize 300x -bordercolor '#9a9a9a' -border 1 -bordercolor white -border 8x0 \
        +append -shave 8x0 +repage "$carpeta/$salida"
    echo "$carpeta/$salida"
}

# «imagen … "logo.png"»: without the logo saved its place stays blank; the store has it saved.
edita sin-logo 's/"logo\.png"/"sin-logo.png"/'
muestra sin-logo
tira "$trabajo/sin-logo.png" 52 161 plantilla-encabezado-antes.png
cp "$fabrica" "$trabajo/fabrica.rpt.fuente"
muestra fabrica
tira "$trabajo/fabrica.png" 52 161 plantilla-encabezado-despues.png

# «partidas_por_hoja»: without it the five lines fill one sheet; with 2, three sheets.
edita partidas-antes '/^partidas_por_hoja /d'
muestra partidas-antes
hojas plantilla-partidas-antes.png "$trabajo/partidas-antes.png"
edita partidas-despues 's/^partidas_por_hoja .*/partidas_por_hoja 2/'
muestra partidas-despues
hojas plantilla-partidas-despues.png "$trabajo"/partidas-despues-{1,2,3}.png

# «formula TasasEnCero 1»: the breakdown with its 0 % rates.
edita tasas-en-cero 's/^formula TasasEnCero 0$/formula TasasEnCero 1/'
muestra tasas-en-cero
tira "$trabajo/tasas-en-cero.png" 570 380 plantilla-tasas-en-cero.png

# «partidas_por_hoja {configura.PartidasXhojaRem} fijo»: the store's 20 lines per sheet.
edita fijo 's/^partidas_por_hoja .*/partidas_por_hoja {configura.PartidasXhojaRem} fijo/'
muestra fijo
hojas plantilla-fijo.png "$trabajo/fijo.png"
