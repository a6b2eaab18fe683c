#!/usr/bin/env bash
# verifica_pacotes.sh BUILD_DIR
# Guards the packages a company installs: each holds its own files and no other's, declares
# what it needs at run time (and the windows' font), ships a valid menu entry and metainfo, an empty database that
# opens with no user, and the server's settings as a configuration file dpkg keeps.
set -uo pipefail
build="$1"
command -v dpkg-deb >/dev/null || { echo "dpkg-deb ausente: teste ignorado"; exit 77; }
for tool in cpack objdump desktop-file-validate appstreamcli isql-fb; do
  command -v "$tool" >/dev/null || { echo "$tool ausente: teste ignorado"; exit 77; }
done

out="$build/test-tmp/pacotes"
rm -rf "$out"
mkdir -p "$out"
trap 'rm -rf "$out"' EXIT
falhas=0
falha() { echo "FALHOU: $*"; falhas=$((falhas + 1)); }

(cd "$build" && cpack -G DEB -B "$out" > "$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; exit 1; }
cliente="$(ls "$out"/korvex_*.deb 2>/dev/null | head -n1)"
servidor="$(ls "$out"/korvex-servidor_*.deb 2>/dev/null | head -n1)"
[ -n "$cliente" ] && [ -n "$servidor" ] || { ls "$out"; echo "FALHOU: faltam pacotes"; exit 1; }

# contains DEB PATH / lacks DEB PATH: one line of the package's file list.
contains() { dpkg-deb -c "$1" | awk '{print $6}' | grep -qx "./$2" || falha "$(basename "$1") sem $2"; }
lacks() { dpkg-deb -c "$1" | awk '{print $6}' | grep -qx "./$2" && falha "$(basename "$1") com $2"; }
depends() {
  local nomes
  nomes="$(dpkg-deb -f "$1" Depends | tr ',' '\n' | awk '{print $1}')"
  for p in "${@:2}"; do
    grep -Fxq "$p" <<<"$nomes" || falha "$(basename "$1") não depende de $p"
  done
}

contains "$cliente" usr/bin/korvex
contains "$cliente" usr/share/korvex/ORVALIS.FDB
contains "$cliente" usr/share/applications/br.com.korvex.Korvex.desktop
contains "$cliente" usr/share/metainfo/br.com.korvex.Korvex.metainfo.xml
contains "$cliente" usr/share/icons/hicolor/scalable/apps/korvex.svg
lacks "$cliente" usr/bin/korvex-servidor
lacks "$cliente" usr/bin/korvex-syncserver
depends "$cliente" libqt6sql6-ibase qt6-qpa-plugins libfbclient2 firebird3.0-server-core fonts-dejavu-core
# The font the windows were drawn for; without it a stand-in of the same width is used.
dpkg-deb -f "$cliente" Recommends | tr ',' '\n' | awk '{print $1}' | grep -Fxq fonts-wine \
  || falha "$(basename "$cliente") não recomenda fonts-wine"

contains "$servidor" usr/bin/korvex-servidor
contains "$servidor" usr/share/korvex-servidor/schema.sql
contains "$servidor" usr/lib/systemd/system/korvex-servidor.service
contains "$servidor" etc/korvex/servidor.conf
lacks "$servidor" usr/bin/korvex
depends "$servidor" libqt6sql6-ibase libfbclient2 firebird3.0-server-core firebird3.0-utils adduser

# Every library a program links belongs to a package its package depends on (one dpkg -S for
# all of them: each call reads the whole package database).
linked() {
  local so caminho caminhos=() achados pacote
  for so in $(objdump -p "$2" | awk '/NEEDED/{print $2}'); do
    caminho="$(ldconfig -p | awk -v s="$so" '$1 == s && /x86-64/ {print $NF; exit}')"
    [ -n "$caminho" ] || { falha "$so não encontrada"; continue; }
    caminhos+=("$caminho" "/usr$caminho")
  done
  achados="$(dpkg -S "${caminhos[@]}" 2>/dev/null)"
  for so in $(objdump -p "$2" | awk '/NEEDED/{print $2}'); do
    pacote="$(grep -F "/$so" <<<"$achados" | head -n1 | cut -d: -f1)"
    [ -n "$pacote" ] || { falha "$so sem pacote conhecido"; continue; }
    depends "$1" "$pacote"
  done
}
dpkg-deb -I "$servidor" conffiles 2>/dev/null | grep -qx /etc/korvex/servidor.conf \
  || falha "servidor.conf não é arquivo de configuração do pacote"
for script in postinst prerm postrm; do
  dpkg-deb -I "$servidor" "$script" >/dev/null 2>&1 || falha "korvex-servidor sem $script"
done

raiz="$out/raiz"
dpkg-deb -x "$cliente" "$raiz"
dpkg-deb -x "$servidor" "$raiz"
linked "$cliente" "$raiz/usr/bin/korvex"
linked "$servidor" "$raiz/usr/bin/korvex-servidor"
desktop-file-validate "$raiz/usr/share/applications/br.com.korvex.Korvex.desktop" || falha "desktop-file-validate"
grep -qx "Name=Korvex" "$raiz/usr/share/applications/br.com.korvex.Korvex.desktop" || falha "menu sem Name=Korvex"
grep -qx "Categories=Office;" "$raiz/usr/share/applications/br.com.korvex.Korvex.desktop" || falha "menu fora de Office"
appstreamcli validate --no-net "$raiz/usr/share/metainfo/br.com.korvex.Korvex.metainfo.xml" || falha "appstreamcli validate"
grep -q "^ExecStart=/usr/bin/korvex-servidor" "$raiz/usr/lib/systemd/system/korvex-servidor.service" \
  || falha "serviço sem ExecStart"

# The shipped database: the contract, with no user, so the first start opens the sync window.
usuarios="$(printf 'SELECT COUNT(*) FROM F599USU;\n' | FIREBIRD_LOCK="$out/lock" isql-fb -q -user SYSDBA "$raiz/usr/share/korvex/ORVALIS.FDB" 2>&1)"
grep -Eq "^ +0 *$" <<<"$usuarios" || falha "base vazia com usuários ou ilegível: $usuarios"

[ "$falhas" = 0 ] || exit 1
echo "Pacotes verificados: $(basename "$cliente"), $(basename "$servidor")"
