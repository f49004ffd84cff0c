#!/bin/sh
# qpn header: the header row as column,value lines, nulls empty, dates yyyy/mm/dd.
qpn=$1
. "$(dirname "$0")/testlib.sh"

base=$root/reg
mkdir -p "$base"
"$qpn" --base "$base" header >/dev/null 2>&1 && fail "header without a register succeeded"

"$qpn" --base "$base" init --name "テスト福祉会, 本部" >/dev/null || fail "init failed"
"$qpn" --base "$base" sql --header-table \
    "UPDATE HeadM SET KisyuDate = :S, KimatuDate = :E, PM2 = 1, PM5 = 123, 年度 = 2012" \
    --param S=2019/04/01 --param E=2020/03/31 || fail "update failed"
check "header row" "meisyou,テスト福祉会, 本部
KisyuDate,2019/04/01
KimatuDate,2020/03/31
PM1,
PM2,1
PM3,
PM4,
PM5,123
PM6,
PM7,
PM8,
PM9,
PM10,
年度,2012" "$("$qpn" --base "$base" header)"

[ "$failures" -eq 0 ] || exit 1
echo "ok"
