#!/bin/sh
# qpn settings and qpn calc on a register made by init: settings applied as the
# settings form's close applies them, a recalculation, a protected run, a stop.
qpn=$1
. "$(dirname "$0")/testlib.sh"

base=$root/reg
mkdir -p "$base"
"$qpn" --base "$base" init --name "テスト福祉会" >/dev/null || fail "init failed"

"$qpn" --base "$base" settings --fiscal-start 2024/02/29 >/dev/null 2>&1 && fail "29 February accepted"
"$qpn" --base "$base" settings --fiscal-start 2025/04/01 --straight-line-basis 0 --rounding 1 >/dev/null \
    || fail "settings failed"
check "fiscal end" "KimatuDate,2026/03/31" "$("$qpn" --base "$base" header | grep '^KimatuDate')"

# A straight-line asset of 1,000,000 yen over 5 years from April 2023: 200,000 a year.
"$qpn" --base "$base" sql "INSERT INTO daicyoA (ID, kamoku_ID, bumon_ID, houhou_ID, houhou2_ID, 品名, 購入日, 数量, 購入価格, 償却年数, 残率)
    VALUES (1, 210, 1, 0, 0, '車', '2023/04/01', 1, 1000000, 5, 0)" || fail "insert failed"
out=$("$qpn" --base "$base" calc --recalculate 2>/dev/null) || fail "calc --recalculate failed"
case $out in *"1 件の資産を計算しました。"*) ;; *) fail "calc said: $out" ;; esac
check "year rows" "ID,Sub,Nendo,期首残高,当年償却額,期末残高,F1
1,0,2023,0,200000,800000,1
1,1,2024,800000,200000,600000,1
1,2,2025,600000,200000,400000,
1,3,2026,400000,200000,200000,
1,4,2027,200000,200000,0," \
    "$("$qpn" --base "$base" sql "SELECT ID, Sub, Nendo, 期首残高, 当年償却額, 期末残高, F1 FROM daicyoB ORDER BY ID, Sub")"
check "summary" "償却額,期首簿価,期末簿価,償却月数
200000,600000,400000,12" "$("$qpn" --base "$base" sql "SELECT 償却額, 期首簿価, 期末簿価, 償却月数 FROM daicyoA")"

# A protected run keeps the fixed years even when they were edited by hand.
"$qpn" --base "$base" sql "UPDATE daicyoB SET 当年償却額 = 1 WHERE Nendo = 2023" || fail "update failed"
"$qpn" --base "$base" calc >/dev/null 2>&1 || fail "protected calc failed"
check "fixed year kept" "1" "$("$qpn" --base "$base" sql "SELECT 当年償却額 FROM daicyoB WHERE Nendo = 2023" | tail -n 1)"

# An asset without a purchase date stops the run with its message, exit status 1.
"$qpn" --base "$base" sql "INSERT INTO daicyoA (ID, kamoku_ID, houhou_ID, 品名, 購入価格, 償却年数) VALUES (2, 210, 0, '机', 50000, 5)"
out=$("$qpn" --base "$base" calc 2>/dev/null) && fail "calc with a bad asset succeeded"
case $out in *"購入日がありませんので、確認してください。登録番号【2】"*) ;; *) fail "stop message missing: $out" ;; esac

[ "$failures" -eq 0 ] || exit 1
echo "ok"
