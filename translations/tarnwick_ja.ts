<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP" sourcelanguage="en">
<context>
    <name>tarnwick</name>
    <message>
        <source>Cannot open &quot;%1&quot;: %2</source>
        <translation>ファイル &quot;%1&quot; を開けませんでした。%2</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: %2</source>
        <translation>ファイル &quot;%1&quot; を読み込めませんでした。%2</translation>
    </message>
    <message>
        <source>Cannot create the temporary file &quot;%1&quot;: %2</source>
        <translation>一時ファイル &quot;%1&quot; を作成できませんでした。%2一時ファイルのフォルダーに書き込めるかどうかを確かめてください。</translation>
    </message>
    <message>
        <source>Cannot write the temporary file &quot;%1&quot;: %2</source>
        <translation>一時ファイル &quot;%1&quot; に書き込めませんでした。%2ディスクの空き容量を確かめてください。</translation>
    </message>
    <message>
        <source>Cannot read the temporary file &quot;%1&quot;: %2</source>
        <translation>一時ファイル &quot;%1&quot; を読み込めませんでした。%2</translation>
    </message>
    <message>
        <source>Cannot delete the temporary file &quot;%1&quot;: %2</source>
        <translation>一時ファイル &quot;%1&quot; を削除できませんでした。%2不要であれば、手で削除してください。</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2</source>
        <translation>ファイル &quot;%1&quot; に書き込めませんでした。%2</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: the file is read-only</source>
        <translation>ファイル &quot;%1&quot; は読み取り専用のため、書き込めませんでした。書き込みを許可するか、別の出力先を選んでください。</translation>
    </message>
    <message>
        <source>Cannot convert &quot;%1&quot;: it is the program's own temporary file</source>
        <translation>ファイル &quot;%1&quot; はこのプログラムの一時ファイルのため、変換できません。</translation>
    </message>
    <message>
        <source>cannot open: %1</source>
        <translation>開けませんでした: %1</translation>
    </message>
    <message>
        <source>cannot read: %1</source>
        <translation>読み込めませんでした: %1</translation>
    </message>
    <message>
        <source>cannot create the temporary file: %1</source>
        <translation>一時ファイルを作成できませんでした: %1</translation>
    </message>
    <message>
        <source>cannot write the temporary file: %1</source>
        <translation>一時ファイルに書き込めませんでした: %1</translation>
    </message>
    <message>
        <source>cannot read the temporary file: %1</source>
        <translation>一時ファイルを読み込めませんでした: %1</translation>
    </message>
    <message>
        <source>cannot delete the temporary file: %1</source>
        <translation>一時ファイルを削除できませんでした: %1</translation>
    </message>
    <message>
        <source>cannot write: %1</source>
        <translation>書き込めませんでした: %1</translation>
    </message>
    <message>
        <source>cannot write: the file is read-only</source>
        <translation>読み取り専用のため書き込めませんでした</translation>
    </message>
    <message>
        <source>cannot convert: it is the program's own temporary file</source>
        <translation>このプログラムの一時ファイルのため変換できません</translation>
    </message>
    <message>
        <source>not converted: the conversion was aborted</source>
        <translation>変換されませんでした: 中断されました</translation>
    </message>
    <message>
        <source>not converted: the batch was ended</source>
        <translation>変換されませんでした: 一括変換が終了されました</translation>
    </message>
    <message>
        <source>not converted: the name is empty</source>
        <translation>変換されませんでした: 名前が空です</translation>
    </message>
    <message>
        <source>not converted: the name is not valid in the system's encoding, so it cannot be passed on exactly</source>
        <translation>変換されませんでした: 名前がシステムの文字コードとして正しくないため、そのまま渡せません</translation>
    </message>
    <message>
        <source>not converted: a path on the command line cannot hold a quotation mark</source>
        <translation>変換されませんでした: コマンドラインのパスには引用符を含められません</translation>
    </message>
    <message>
        <source>cannot write to standard output: %1</source>
        <translation>標準出力に書き込めませんでした: %1</translation>
    </message>
    <message>
        <source>These files were not converted:</source>
        <translation>次のファイルは変換されませんでした。</translation>
    </message>
</context>
</TS>
