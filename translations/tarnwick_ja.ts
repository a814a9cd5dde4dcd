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
    <message>
        <source>Cannot convert &quot;%1&quot;: the output file would be the log itself. Turn on overwriting of the log, or choose another output extension.</source>
        <translation>ファイル &quot;%1&quot; は変換しませんでした。出力ファイルが変換元ログそのものになるためです。ログファイル上書きをオンにするか、別の出力拡張子を選んでください。</translation>
    </message>
    <message>
        <source>not converted: the output file would be the log itself (turn on overwriting, or choose another extension)</source>
        <translation>変換しませんでした: 出力ファイルが変換元ログそのものになります（上書きをオンにするか、別の拡張子を選んでください）</translation>
    </message>
    <message>
        <source>Cannot convert &quot;%1&quot;: its output file holds what this batch wrote for &quot;%3&quot; and would be replaced.</source>
        <translation>ファイル &quot;%1&quot; は変換しませんでした。出力ファイルには、この一括変換で &quot;%3&quot; から書き出した内容があり、それを置き換えてしまうためです。</translation>
    </message>
    <message>
        <source>not converted: its output file holds what this batch wrote for %3</source>
        <translation>変換しませんでした: 出力ファイルには、この一括変換で %3 から書き出した内容があります</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: it is a symbolic link that another user made in a shared folder.</source>
        <translation>ファイル &quot;%1&quot; には書き込みませんでした。共有フォルダーに他のユーザーが作ったシンボリックリンクです。</translation>
    </message>
    <message>
        <source>cannot write: a symbolic link that another user made in a shared folder</source>
        <translation>書き込めません: 共有フォルダーに他のユーザーが作ったシンボリックリンクです</translation>
    </message>
    <message>
        <source>warning: the profile %1 is not a regular file; the settings are neither read from it nor kept</source>
        <translation>警告: 設定ファイル %1 は通常のファイルではありません。設定はそこから読み込まず、保存もしません</translation>
    </message>
    <message>
        <source>warning: the profile %1 is larger than 1 MiB; the settings are neither read from it nor kept</source>
        <translation>警告: 設定ファイル %1 は 1 MiB を超えています。設定はそこから読み込まず、保存もしません</translation>
    </message>
    <message>
        <source>cannot open the display %1 to show the window on; give the logs to convert as arguments (see --help)</source>
        <translation>ウィンドウを表示するディスプレイ %1 を開けません。変換するログを引数で指定してください（--help を参照）</translation>
    </message>
    <message>
        <source>cannot open the display %1; converting without showing the window</source>
        <translation>ディスプレイ %1 を開けません。ウィンドウを表示せずに変換します</translation>
    </message>
</context>
</TS>
