#!/bin/sh
# hrl_spi.dll exports exactly the nine functions by their plain names:
# no decorated Foo@8 beside them.
set -eu
# objdump translates its headings; read them in the C locale.
export LC_ALL=C
objdump=$1 dll=$2
names=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -E '^[[:space:]]+\[ *[0-9]+\]' | awk '{print $NF}' | sort | tr '\n' ' ')
expected="CheckFormat FreeDataChain GetDataChain QueryExtension SPI_LoadImage SPI_LoadImageEx SearchPlugin StartupLibrary TerminateLibrary "
if [ "$names" != "$expected" ]; then
    echo "exports: $names"
    echo "expected: $expected"
    exit 1
fi
