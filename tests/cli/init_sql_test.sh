#!/bin/sh
# qpn init and qpn sql on fresh register folders: tables, seeding, the header
# row, CSV output of the value types, parameters and errors.
qpn=$1
. "$(dirname "$0")/testlib.sh"
sql() { "$qpn" --base "$base" sql "$@"; }

# A first init creates every table, seeds the chosen list and stores the name.
base=$root/welfare
mkdir -p "$base"
"$qpn" --base "$base" init --name "テスト福祉会" >/dev/null || fail "init failed"
for t in HeadM QPNdata/Bumon QPNdata/daicyoA QPNdata/daicyoB QPNdata/kamoku QPNdata/Master1 \
         QPNdata/Master2 QPNdata/Master3 QPNdata/Ukeire QPNdata/Regist QPNdata/kyoten; do
    [ -f "$base/$t.DAT" ] || fail "missing $t.DAT"
done
check "social-welfare accounts" "11" "$(sql 'SELECT ID, kamokumei FROM kamoku' | wc -l)"
check "first account" "100,基本財産・建物" "$(sql 'SELECT ID, kamokumei FROM kamoku ORDER BY ID' | sed -n 2p)"
check "departments" "ID,Bumon,kyoten_ID
1,ああああ,
2,いいいい,
3,ううううう," "$(sql 'SELECT * FROM Bumon ORDER BY ID')"
check "header row" "meisyou,PM5
テスト福祉会," "$(sql --header-table 'SELECT meisyou, PM5 FROM HeadM')"

# A second init asks nothing, seeds nothing and keeps the single header row.
out=$("$qpn" --base "$base" init --accounts school --name "別の名前") || fail "second init failed"
case $out in *kamoku*) fail "second init seeded accounts: $out" ;; esac
check "accounts kept" "11" "$(sql 'SELECT ID FROM kamoku' | wc -l)"
check "name replaced" "meisyou
別の名前" "$(sql --header-table 'SELECT meisyou FROM HeadM')"

# The school list, and a header row even without a name.
base=$root/school
"$qpn" --base "$base" init --accounts school >/dev/null || fail "school init failed"
check "school accounts" "9" "$(sql 'SELECT ID FROM kamoku' | wc -l)"
check "empty header row" "2" "$(sql --header-table 'SELECT meisyou FROM HeadM' | wc -l)"

# Money as plain yen, dates as yyyy/mm/dd, null empty, CSV quoting; a script
# with a block comment.
sql "/* two assets */
INSERT INTO daicyoA (ID, 品名, 購入日, 購入価格) VALUES (1, '机, \"特注\"', '2019-04-01', 1234.5);
INSERT INTO daicyoA (ID, 品名, 購入日, 購入価格) VALUES (2, '車', '2020/10/15', 2500000)" || fail "insert script failed"
check "value types" "ID,品名,購入日,購入価格,廃棄日
1,\"机, \"\"特注\"\"\",2019/04/01,1234.5,
2,車,2020/10/15,2500000," "$(sql 'SELECT ID, 品名, 購入日, 購入価格, 廃棄日 FROM daicyoA ORDER BY ID')"
check "date parameter" "ID
2" "$(sql 'SELECT ID FROM daicyoA WHERE 購入日 >= :S ORDER BY ID' --param S=2019/04/02)"
check "sum of money" "1" "$(sql 'SELECT SUM(購入価格) AS T FROM daicyoA' | grep -c '^2501234.5$')"
sql 'UPDATE daicyoA SET 購入価格 = NULL WHERE ID = :ID' --param ID=2 || fail "update failed"
check "null after update" "ID,購入価格
1,1234.5
2," "$(sql 'SELECT ID, 購入価格 FROM daicyoA ORDER BY ID')"

# Errors: the engine's message on stderr, status 1; usage mistakes status 2.
err=$(sql 'SELEC ID FROM kamoku' 2>&1 >/dev/null); status=$?
check "malformed status" "1" "$status"
case $err in "SQL error - "*) ;; *) fail "malformed message: $err" ;; esac
err=$(sql 'SELECT * FROM nosuch' 2>&1 >/dev/null); status=$?
check "missing table status" "1" "$status"
case $err in *nosuch*) ;; *) fail "missing table message: $err" ;; esac
sql 'SELECT ID FROM kamoku WHERE ID = :X' >/dev/null 2>&1; check "missing param" "2" "$?"
sql 'SELECT ID FROM kamoku' --param X=1 >/dev/null 2>&1; check "unused param" "2" "$?"
"$qpn" --base "$base" init --accounts other >/dev/null 2>&1; check "bad --accounts" "2" "$?"
"$qpn" --base "$base" init --name "　 " >/dev/null 2>&1; check "blank name" "2" "$?"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "all checks passed"
