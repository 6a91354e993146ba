#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program, installed into a scratch prefix and driven as a user
# drives it: under Xvfb, with xdotool for the mouse and keys and xclip for the
# clipboard. Usage: e2e.sh BUILD_DIR. Without a display server it fails.
set -eu
build=$1
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${E2E_INNER:-}" ]; then
    command -v xvfb-run >/dev/null || { echo "FAIL: xvfb-run is missing"; exit 1; }
    export E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$here/e2e.sh" "$build"
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/dolgomer-e2e.XXXXXX")
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$scratch/usr" >/dev/null
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config"
export XDG_DATA_HOME="$scratch/home/.local/share" XDG_RUNTIME_DIR="$scratch/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
"$scratch/usr/bin/dolgomer" >"$scratch/out.log" 2>&1 &
pid=$!

win=$(timeout 20 xdotool search --sync --name "Долгомер — расчет процентов и пеней" | head -n 1)
[ -n "$win" ] ||
    fail "the window did not appear: $(cat "$scratch/out.log")"
eval "$(xdotool getwindowgeometry --shell "$win")"
# Clicks in the window's own coordinates (there is no window manager here).
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click "${3:-1}"; sleep 0.4; }
keys() { xdotool key --delay 60 "$@"; sleep 0.3; }

click 200 38                      # the debt field selects its text
xdotool type --delay 60 "100000"
# The tax slider starts at today's VAT; the example is of 2010, at 18 %.
keys Tab Home Prior Prior Prior Right Right Right
# A date: click its day, step it up and back (which selects the day), type.
set_date() { click 186 "$1"; keys Up Down; xdotool type --delay 60 "$2"; sleep 0.3; }
set_date 116 "01012010"               # the start of the period
set_date 148 "30012010"               # its end
click 186 200                     # "Общая юрисдикция"
click 100 294                     # "Рассчитать"
sleep 0.5
click 100 360 3                   # the report's menu ...
keys Down Down Return             # ... "Выделить все"
click 100 360 3
keys Down Return                  # ... "Копировать"
got=$(xclip -o -selection clipboard 2>/dev/null) || fail "nothing on the clipboard"
expected="Период просрочки: c 01.01.2010 по 30.01.2010 = 30 дн.
Ставка рефинансирования: 8,75%
Cумма долга: 100000,00 руб., в том числе налог 18%: 15254,24 руб.
Сумма процентов: 100000,00 * 30 * 8,75 / 36000 = 729,17 руб.
ИТОГО: 100000,00 + 729,17 = 100729,17 руб.
Государственная пошлина: 4021,88 руб."
[ "$got" = "$expected" ] || fail "the report on the clipboard differs:
$got"
# The command line gives the window's report for the same claim.
cli=$("$scratch/usr/bin/dolgomer" --report --debt 100000 --from 01.01.2010 --to 30.01.2010 \
    --court general) || fail "--report failed"
[ "$cli" = "$got" ] || fail "--report differs from the window:
$cli"

# A middle click pastes what fits of the selection at the place clicked, as
# Ctrl+V pastes the clipboard: "100000,00" has room for 4 of 13 characters.
printf '123456789' | xclip -selection primary
click 310 38 2                    # past the end of the debt's text
click 200 38
keys ctrl+a ctrl+c
debt=$(xclip -o -selection clipboard 2>/dev/null)
[ "$debt" = "100000,001234" ] || fail "the middle click pasted \"$debt\""

# Printing and the rate update are modules loaded on first use; the installed
# ones must load. Without a printer the print ends in its own box ("Ошибка
# печати", or "Сообщение" where a printer exists), never in a loading error.
box() { # waits for a box with this caption and answers it with a key
    b=$(timeout 10 xdotool search --sync --onlyvisible --name "$1" | head -n 1)
    [ -n "$b" ] ||
        fail "no \"$1\" box; shown: $(for w in $(xdotool search --onlyvisible --name .); do
            xdotool getwindowname "$w"; done | tr '\n' '|')"
    xdotool windowfocus --sync "$b" key "$2"
    sleep 0.4
}
click 540 385                     # "Печать"
box "Подтверждение печати" Return
box "Ошибка печати|Сообщение" Escape
# The update, from an address where nothing answers: the connection fails.
ini="$XDG_CONFIG_HOME/Долгомер/registry.ini"
sed -i '/^patch=/a update_url=http://127.0.0.1:9/rates' "$ini"
sed -i '/^patch=/a keyrate_url=http://127.0.0.1:9/keyrate' "$ini"
click 150 232                     # "Применить законную пеню"
click 160 237                     # the refinancing rate opens the rate table
click 400 265                     # "Обновить через Интернет"
box "Ошибка соединения" Return

# What the first run left: the rate file, byte for byte, and its path.
rates="$XDG_DATA_HOME/Долгомер/stavki.txt"
sum=$(sha256sum "$rates" | cut -d' ' -f1)
[ "$sum" = 318af59a047e3ee44d269964927bb743c4444726ddc059935236456159a08e7a ] ||
    fail "the rate file is not the 33 built-in lines"
grep -qx "patch=$rates" "$ini" || fail "patch is not the rate file's path"

click 255 294                     # "Закрыть" stores the settings and ends
for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
kill -0 "$pid" 2>/dev/null && fail "the window did not close"
pid=""
grep -qx "k_stav=360" "$ini" || fail "k_stav was not stored"
grep -qx "dogovor=0,1" "$ini" || fail "dogovor was not stored"
echo "1 passed, 0 failed"
