#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix in the Chinese (GBK) code page.
. "$(cd "$(dirname "$0")" && pwd)/env.sh"
export LC_ALL=zh_CN.UTF-8
exec "$LUMVEX_WINE" "$@"
