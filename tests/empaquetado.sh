#!/usr/bin/env bash
# The store's Debian package as an IT person meets it: built as the README says (Release,
# stripped, hardened, without the tests), accepted by lintian, installed with dpkg into a
# scratch root, pointed at a store of the private server whose MySQL user has a password,
# checked, used for a print to PDF, run as root without writing under its prefix, and removed
# without leaving anything behind.
#   tests/empaquetado.sh FUENTES CONSTRUCCION
set -euo pipefail
fuentes=$1
construccion=$2
raiz=$(mktemp -d)
base="paquete_$$"
resguardo="${base}_resguardo"
contrasena='Clave con espacios y "comillas" 7!'
sql() {
    mariadb --no-defaults -h"$DEREMISIONES_MYSQL_HOST" -P"$DEREMISIONES_MYSQL_PUERTO" -uroot "$@"
}
limpia() {
    sql -e "DROP DATABASE IF EXISTS $base; DROP DATABASE IF EXISTS $resguardo;
            DROP USER IF EXISTS 'caja_$$'@'%';" || true
    rm -rf "$raiz"
}
trap limpia EXIT
falla() {
    echo "FALLA: $*" >&2
    exit 1
}

echo "== paquete"
release="$construccion/paquete-release"
cmake -S "$fuentes" -B "$release" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$release" -j"$(nproc)" >/dev/null
(cd "$release" && cpack -G DEB -B "$raiz/paquete" >/dev/null)
paquete=$(ls "$raiz"/paquete/*.deb)
# Each dependency, its version and alternatives aside, is a package installed here.
for dependencia in $(dpkg-deb -f "$paquete" Depends | sed 's/([^)]*)//g; s/|[^,]*//g' | tr -d ' ' | tr ',' ' '); do
    dpkg-query -W -f='${Status}' "$dependencia" 2>/dev/null | grep 'install ok installed' >/dev/null \
        || falla "dependencia no instalable aquí: $dependencia"
done
dpkg-deb -f "$paquete" Depends | grep 'libc6 (>=' >/dev/null || falla "sin las dependencias de dpkg-shlibdeps"
# CUPS is asked about each printed document.
dpkg-deb -f "$paquete" Depends | grep 'libcups2 (>=' >/dev/null || falla "sin libcups2"
# libqpdf puts the bookmarks into a run's one PDF.
dpkg-deb -f "$paquete" Depends | grep 'libqpdf29 (' >/dev/null || falla "sin libqpdf29"
# libxlsxwriter writes the spreadsheets of «Exportar…» and --exportar.
dpkg-deb -f "$paquete" Depends | grep 'libxlsxwriter4 (' >/dev/null || falla "sin libxlsxwriter4"

echo "== lintian"
# Debian's own checker: no error; its report is shown whole when there is one.
lintian --fail-on error "$paquete" >"$raiz/lintian" 2>&1 || { cat "$raiz/lintian"; falla "lintian"; }
cat "$raiz/lintian"

sistema="$raiz/sistema"
mkdir -p "$sistema/var/lib/dpkg/info" "$sistema/var/lib/dpkg/updates"
touch "$sistema/var/lib/dpkg/status" "$sistema/var/lib/dpkg/available"
dpkg_() { dpkg --force-not-root --force-depends --instdir="$sistema" --admindir="$sistema/var/lib/dpkg" "$@"; }
dpkg_ -i "$paquete" >/dev/null 2>&1 || falla "dpkg -i"
for archivo in usr/bin/deremisiones usr/bin/plantillas usr/share/applications/deremisiones.desktop \
    usr/share/icons/hicolor/scalable/apps/deremisiones.svg \
    usr/share/deremisiones/plantillas/fmtRemision.rpt.fuente \
    usr/share/doc/deremisiones/manual.md usr/share/doc/deremisiones/plantillas.md \
    usr/share/doc/deremisiones/copyright \
    usr/share/doc/deremisiones/changelog.gz usr/share/doc/deremisiones/img/remision.png \
    usr/share/man/man1/deremisiones.1.gz usr/share/man/man1/plantillas.1.gz; do
    [ -e "$sistema/$archivo" ] || falla "falta $archivo en el paquete"
done
for programa in deremisiones plantillas; do
    binario="$sistema/usr/bin/$programa"
    secciones=$(readelf -SW "$binario")
    dinamicos=$(readelf -dW "$binario")
    simbolos=$(readelf -sW --dyn-syms "$binario" | grep -v '__stack_chk' || true)
    ! grep -q '\.symtab' <<<"$secciones" || falla "$programa sin strip"
    ! grep -q '\.comment' <<<"$secciones" || falla "$programa con .comment"
    grep -q 'FLAGS.*BIND_NOW' <<<"$dinamicos" || falla "$programa sin -z now"
    readelf -lW "$binario" | grep -c 'GNU_RELRO' >/dev/null || falla "$programa sin relro"
    grep -q '__[a-z]*_chk' <<<"$simbolos" || falla "$programa sin fortify"
    readelf -sW --dyn-syms "$binario" | grep -c '__stack_chk_fail' >/dev/null \
        || falla "$programa sin protector"
done
zcat "$sistema/usr/share/man/man1/deremisiones.1.gz" | grep 'configura' >/dev/null || falla "manual"

deremisiones="$sistema/usr/bin/deremisiones"
version=$(env -u DISPLAY -u QT_QPA_PLATFORM "$deremisiones" --version)
[ "$version" = "deremisiones $(dpkg-deb -f "$paquete" Version)" ] || falla "versión: $version"
for orden in configura verifica tope porcentaje factura; do
    "$deremisiones" "$orden" --help | grep "^Uso: deremisiones $orden" >/dev/null || falla "ayuda de $orden"
done
for orden in construye guarda extrae revisa muestra; do
    "$sistema/usr/bin/plantillas" "$orden" --help | grep "^  $orden " >/dev/null || falla "ayuda de plantillas $orden"
done
"$sistema/usr/bin/plantillas" --help | grep -F "$sistema/usr/share/doc/deremisiones/plantillas.md" >/dev/null \
    || falla "plantillas --help no dice dónde está el manual instalado"

echo "== una tienda con un usuario con contraseña"
sql -e "CREATE DATABASE $base CHARACTER SET utf8mb4; CREATE DATABASE $resguardo CHARACTER SET utf8mb4;"
sql "$base" <"$fuentes/tests/muestras/host_schema.sql"
sql "$resguardo" <"$fuentes/tests/muestras/host_schema.sql"
sql "$base" -e "INSERT INTO monedas (Id, Nombre, Abreviacion, Paridad) VALUES (1, 'PESOS', 'M.N.', 1);
    INSERT INTO configura (SeriesEnRem) VALUES (1);
    INSERT INTO remisiones (Id, Serie, Factura, Fecha, Subtotal, IVA, Cliente, Afectada)
        VALUES (1, 'A', 501, '2026-11-02', 100, 16, 'C1', 1);
    INSERT INTO remisionesdetalle (Id, Partida, Producto, Cantidad, PrecioNeto, IVA)
        VALUES (1, 1, 'P1', 1, 100, 16);"
escapada=${contrasena//\"/\\\"}
sql -e "CREATE USER 'caja_$$'@'%' IDENTIFIED BY \"$escapada\";
        GRANT SELECT, INSERT, UPDATE, DELETE, CREATE, DROP ON $base.* TO 'caja_$$'@'%';
        GRANT SELECT, INSERT ON $resguardo.* TO 'caja_$$'@'%';
        GRANT ALL PRIVILEGES ON tmpreprocesarem.* TO 'caja_$$'@'%';
        GRANT ALL PRIVILEGES ON \`deremisiones\\_muestra\\_%\`.* TO 'caja_$$'@'%';"

# The IT person's account: its own home, configuration and data folders.
cuenta="$raiz/cuenta"
mkdir -p "$cuenta"
export HOME="$cuenta" XDG_CONFIG_HOME="$cuenta/.config" XDG_DATA_HOME="$cuenta/.local/share"
export ODBCINI="$cuenta/.odbc.ini" QT_QPA_PLATFORM=offscreen
unset DEREMISIONES_CARPETA DEREMISIONES_PDF
find "$sistema/usr" -printf '%p %s %T@\n' | sort >"$raiz/prefijo-antes"

orvane="$raiz/orvane"
echo "== una cuenta sin configurar y un configura rechazado no escriben nada"
nueva="$raiz/nueva"
mkdir -p "$nueva"
sin_configurar() {
    env HOME="$nueva" XDG_CONFIG_HOME="$nueva/.config" XDG_DATA_HOME="$nueva/.local/share" \
        ODBCINI="$nueva/.odbc.ini" "$@"
}
if sin_configurar "$deremisiones" porcentaje --inicial 501 --final 501 --porcentaje 10 \
    >"$raiz/sin-configurar" 2>&1; then
    falla "una cuenta sin configurar corrió un trabajo"
fi
grep -q "no está configurada" "$raiz/sin-configurar" || { cat "$raiz/sin-configurar"; falla "sin configurar"; }
if printf 'equivocada\n' | sin_configurar "$deremisiones" configura --carpeta-orvane "$orvane" \
    --servidor "$DEREMISIONES_MYSQL_HOST" --puerto "$DEREMISIONES_MYSQL_PUERTO" \
    --usuario "caja_$$" --base "$base" >"$raiz/rechazado" 2>&1; then
    falla "configura aceptó una contraseña equivocada"
fi
sin_configurar "$deremisiones" verifica >/dev/null 2>&1 && falla "verifica sin configuración"
sin_configurar "$sistema/usr/bin/plantillas" revisa "$fuentes/templates/fmtRemision.rpt.fuente" \
    >/dev/null 2>&1 && falla "plantillas sin configuración"
[ -z "$(find "$nueva" -mindepth 1)" ] || falla "escribió en una cuenta sin configurar: $(find "$nueva" -mindepth 1)"
[ ! -e "$orvane" ] || falla "un configura rechazado creó $orvane"

printf '%s\n' "$contrasena" | "$deremisiones" configura --carpeta-orvane "$orvane/" \
    --servidor "$DEREMISIONES_MYSQL_HOST" --puerto "$DEREMISIONES_MYSQL_PUERTO" \
    --usuario "caja_$$" --base "$base" --resguardo "$resguardo" >"$raiz/configura" \
    || { cat "$raiz/configura"; falla "configura"; }
grep -q "Plantillas guardadas en reportesbin: Auxiliar.MDB, fmtRemision.rpt" "$raiz/configura" \
    || { cat "$raiz/configura"; falla "no guardó las plantillas"; }
[ -d "$orvane" ] || falla "no creó la carpeta de Orvane"
for archivo in "$ODBCINI" "$XDG_CONFIG_HOME/Orvane/instalaciones.ini"; do
    [ "$(stat -c %a "$archivo")" = 600 ] || falla "$archivo no es 0600"
done
programa="$XDG_DATA_HOME/deremisiones"
grep -q "Base de datos principal=$base" "$programa/DeRemisiones.ini" || falla "DeRemisiones.ini"
# The password in clear only in the data sources file, which the report engine reads.
[ "$(grep -rlF -- "$contrasena" "$cuenta" "$orvane" | sort)" = "$ODBCINI" ] \
    || falla "la contraseña está en claro fuera de $ODBCINI"

export DEREMISIONES_PDF="$raiz/pdf"
"$deremisiones" verifica >"$raiz/verifica" || { cat "$raiz/verifica"; falla "verifica"; }
grep -q "usuario caja_$$" "$raiz/verifica" || falla "verifica no nombra al usuario"
"$deremisiones" porcentaje --inicial 501 --final 501 --porcentaje 10 --serie A --imprimir \
    --pdf "$raiz/pdf" --exportar "$raiz/porcentaje.xlsx" >"$raiz/imprime" 2>&1 \
    || { cat "$raiz/imprime"; falla "impresión"; }
ls "$raiz"/pdf/*.pdf >/dev/null || falla "no hay PDF"
unzip -l "$raiz/porcentaje.xlsx" | grep 'xl/worksheets/sheet1.xml' >/dev/null || falla "sin hoja de cálculo"

echo "== plantillas con la configuración que dejó configura"
plantillas="$sistema/usr/bin/plantillas"
"$plantillas" extrae fmtRemision.rpt "$raiz/fmtRemision.rpt.fuente" >"$raiz/extrae" 2>&1 \
    || { cat "$raiz/extrae"; falla "plantillas extrae"; }
# The store has no logo.png: the shipped template passes its own check, with a warning.
"$plantillas" revisa "$raiz/fmtRemision.rpt.fuente" >"$raiz/revisa" 2>&1 \
    || { cat "$raiz/revisa"; falla "plantillas revisa"; }
grep -q "^Aviso: .*logo.png" "$raiz/revisa" || { cat "$raiz/revisa"; falla "revisa sin el aviso del logo"; }
"$plantillas" muestra "$raiz/fmtRemision.rpt.fuente" --serie A --folio 501 \
    --pdf "$raiz/muestra.pdf" >"$raiz/muestra" 2>&1 || { cat "$raiz/muestra"; falla "plantillas muestra"; }
pdftotext "$raiz/muestra.pdf" - | grep "501" >/dev/null || falla "la muestra no trae la remisión 501"
[ ! -e "$XDG_DATA_HOME/plantillas" ] || falla "plantillas escribió en $XDG_DATA_HOME/plantillas"
[ "$(ls "$XDG_DATA_HOME")" = deremisiones ] || falla "carpetas de datos: $(ls "$XDG_DATA_HOME")"

echo "== lo que verifica dice de una instalación rota"
sed -i '/^Driver=/d' "$ODBCINI"
sql -e "ALTER USER 'caja_$$'@'%' IDENTIFIED BY 'otra';"
if "$deremisiones" verifica >"$raiz/rota"; then
    falla "verifica aceptó una instalación rota"
fi
grep -q "rechazó al usuario 'caja_$$'" "$raiz/rota" || { cat "$raiz/rota"; falla "contraseña"; }
grep -q "le falta la línea Driver=" "$raiz/rota" || { cat "$raiz/rota"; falla "Driver"; }
# The print connects as that user: with the old password it no longer can.
if "$deremisiones" porcentaje --inicial 501 --final 501 --porcentaje 10 --serie A >/dev/null 2>&1; then
    falla "imprimió sin la contraseña del usuario"
fi

echo "== nada bajo el prefijo; el paquete se quita entero"
find "$sistema/usr" -printf '%p %s %T@\n' | sort >"$raiz/prefijo-despues"
diff "$raiz/prefijo-antes" "$raiz/prefijo-despues" || falla "el programa escribió bajo el prefijo"
dpkg_ -r deremisiones >/dev/null 2>&1 || falla "dpkg -r"
restos=$(find "$sistema" -not -path "$sistema/var/lib/dpkg*" -type f)
[ -z "$restos" ] || falla "quedaron archivos del paquete: $restos"
echo "correcto"
