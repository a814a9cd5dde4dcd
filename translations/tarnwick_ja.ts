<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP" sourcelanguage="en">
<context>
    <name>tarnwick</name>
    <message>
        <source>Cannot open &quot;%1&quot;: %2</source>
        <translation>ファイル「%1」を開けませんでした。%2</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: %2</source>
        <translation>ファイル「%1」を読み込めませんでした。%2</translation>
    </message>
    <message>
        <source>Cannot create the temporary file &quot;%1&quot;: %2</source>
        <translation>一時ファイル「%1」を作成できませんでした。%2一時ファイルのフォルダーに書き込めるかどうかを確かめてください。</translation>
    </message>
    <message>
        <source>Cannot write the temporary file &quot;%1&quot;: %2</source>
        <translation>一時ファイル「%1」に書き込めませんでした。%2ディスクの空き容量を確かめてください。</translation>
    </message>
    <message>
        <source>Cannot read the temporary file &quot;%1&quot;: %2</source>
        <translation>一時ファイル「%1」を読み込めませんでした。%2</translation>
    </message>
    <message>
        <source>Cannot delete the temporary file &quot;%1&quot;: %2</source>
        <translation>一時ファイル「%1」を削除できませんでした。%2不要であれば、手で削除してください。</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2</source>
        <translation>ファイル「%1」に書き込めませんでした。%2</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: the file is read-only</source>
        <translation>ファイル「%1」は読み取り専用のため、書き込めませんでした。書き込みを許可するか、別の出力先を選んでください。</translation>
    </message>
    <message>
        <source>Cannot convert &quot;%1&quot;: it is the program&apos;s own temporary file</source>
        <translation>ファイル「%1」はこのプログラムの一時ファイルのため、変換できません。</translation>
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
        <source>cannot convert: it is the program&apos;s own temporary file</source>
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
        <source>not converted: the name is not valid in the system&apos;s encoding, so it cannot be passed on exactly</source>
        <translation>変換されませんでした: 名前がシステムの文字コードとして正しくないため、そのまま渡せません</translation>
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
        <translation>ファイル「%1」は変換しませんでした。出力ファイルが変換元ログそのものになるためです。ログファイル上書きをオンにするか、別の出力拡張子を選んでください。</translation>
    </message>
    <message>
        <source>not converted: the output file would be the log itself (turn on overwriting, or choose another extension)</source>
        <translation>変換しませんでした: 出力ファイルが変換元ログそのものになります（上書きをオンにするか、別の拡張子を選んでください）</translation>
    </message>
    <message>
        <source>Cannot convert &quot;%1&quot;: its output file holds what this batch wrote for &quot;%3&quot; and would be replaced.</source>
        <translation>ファイル「%1」は変換しませんでした。出力ファイルには、この一括変換で「%3」から書き出した内容があり、それを置き換えてしまうためです。</translation>
    </message>
    <message>
        <source>not converted: its output file holds what this batch wrote for %3</source>
        <translation>変換しませんでした: 出力ファイルには、この一括変換で %3 から書き出した内容があります</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: it is a symbolic link that another user made in a shared folder.</source>
        <translation>ファイル「%1」には書き込みませんでした。共有フォルダーに他のユーザーが作ったシンボリックリンクです。</translation>
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
        <source>warning: the profile %1 belongs to another user; the settings are read from it but changes are not kept</source>
        <translation>警告: 設定ファイル %1 は他のユーザーのファイルです。設定はそこから読み込みますが、変更は保存しません</translation>
    </message>
    <message>
        <source>warning: the profile %1 is a symbolic link to another user&apos;s file; the settings are read from it but changes are not kept</source>
        <translation>警告: 設定ファイル %1 は他のユーザーのファイルへのシンボリックリンクです。設定はそこから読み込みますが、変更は保存しません</translation>
    </message>
    <message>
        <source>warning: the profile %1 is read-only; the settings are read from it but changes are not kept</source>
        <translation>警告: 設定ファイル %1 は読み取り専用です。設定はそこから読み込みますが、変更は保存しません</translation>
    </message>
    <message>
        <source>cannot open the display %1 to show the window on; give the logs to convert as arguments (see --help)</source>
        <translation>ウィンドウを表示するディスプレイ %1 を開けません。変換するログを引数で指定してください（--help を参照）</translation>
    </message>
    <message>
        <source>cannot open the display %1; converting without showing the window</source>
        <translation>ディスプレイ %1 を開けません。ウィンドウを表示せずに変換します</translation>
    </message>
    <message>
        <source>
Exit status:
  0    every LOG was converted
  1    one or more LOGs were not converted (failed, aborted, refused, or left
       when the batch was ended)
  2    usage error, or neither a display nor a LOG
  128+n  ended by signal n
</source>
        <translation>
終了ステータス:
  0    すべての LOG を変換しました
  1    変換できなかった LOG があります（失敗、中断、拒否、または一括変換の
       終了で残ったもの）
  2    使い方の誤り、またはディスプレイも LOG もありません
  128+n  シグナル n で終了しました
</translation>
    </message>
    <message>
        <source>Show this text.</source>
        <translation>この説明を表示します。</translation>
    </message>
    <message>
        <source>Show the version.</source>
        <translation>バージョンを表示します。</translation>
    </message>
    <message>
        <source>Write each LOG&apos;s cleaned text to standard output, not into a file.</source>
        <translation>各 LOG の整えた内容をファイルではなく標準出力へ書き出します。</translation>
    </message>
    <message>
        <source>Write the result over the LOG itself (this run only).</source>
        <translation>結果を LOG そのものに上書きします（今回の実行のみ）。</translation>
    </message>
    <message>
        <source>Write the result into the output file (this run only).</source>
        <translation>結果を出力ファイルへ書き出します（今回の実行のみ）。</translation>
    </message>
    <message>
        <source>Rebuild command lines scrolled sideways (this run only).</source>
        <translation>横スクロールしたコマンド行を組み立て直します（今回の実行のみ）。</translation>
    </message>
    <message>
        <source>Leave command lines scrolled sideways as they are (this run only).</source>
        <translation>横スクロールしたコマンド行をそのままにします（今回の実行のみ）。</translation>
    </message>
    <message>
        <source>Read terminal control sequences, carriage returns and other pagers (this run only).</source>
        <translation>端末制御シーケンス、キャリッジリターン、他社のページャーを処理します（今回の実行のみ）。</translation>
    </message>
    <message>
        <source>Leave terminal control sequences as they are (this run only).</source>
        <translation>端末制御シーケンスをそのままにします（今回の実行のみ）。</translation>
    </message>
    <message>
        <source>Use EXT as the output extension (this run only).</source>
        <translation>出力拡張子に EXT を使います（今回の実行のみ）。</translation>
    </message>
    <message>
        <source>Cut the output name at the log name&apos;s last dot, not its first (this run only).</source>
        <translation>出力ファイル名を、ログの名前の最初ではなく最後のドットで区切ります（今回の実行のみ）。</translation>
    </message>
    <message>
        <source>Cut the output name at the log name&apos;s first dot (this run only).</source>
        <translation>出力ファイル名を、ログの名前の最初のドットで区切ります（今回の実行のみ）。</translation>
    </message>
    <message>
        <source>Mask passwords, keys and communities of known shapes as &lt;secret-N&gt; (this run only).</source>
        <translation>既知の形のパスワード・鍵・コミュニティを &lt;secret-N&gt; に置き換えて伏せます（今回の実行のみ）。</translation>
    </message>
    <message>
        <source>Leave passwords, keys and communities as they are (this run only).</source>
        <translation>パスワード・鍵・コミュニティをそのまま残します（今回の実行のみ）。</translation>
    </message>
    <message>
        <source>Read each LOG as ENCODING: auto (found per file, the default), system (the locale&apos;s), utf-8 or shift-jis (this run only).</source>
        <translation>各 LOG を ENCODING として読みます: auto（ファイルごとに判定、既定）、system（ロケールの文字コード）、utf-8、shift-jis（今回の実行のみ）。</translation>
    </message>
    <message>
        <source>With the controls setting, read each LOG on a screen of ROWS rows, from 1 to 1000 (24 by default; this run only).</source>
        <translation>制御シーケンス設定がオンのとき、各 LOG を ROWS 行の画面で読みます。1 から 1000 まで（既定は 24。今回の実行のみ）。</translation>
    </message>
    <message>
        <source>A log to convert; &quot;-&quot; is standard input.</source>
        <translation>変換するログ。&quot;-&quot; は標準入力です。</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>不明なオプション &apos;%1&apos; です</translation>
    </message>
    <message>
        <source>missing value after &apos;%1&apos;</source>
        <translation>&apos;%1&apos; の後に値がありません</translation>
    </message>
    <message>
        <source>With the controls setting, also drop the lines that are, apart from blanks, TEXT, in which * stands for any run of characters (this run only; may be given more than once).</source>
        <translation>制御シーケンス設定がオンのとき、空白を除いて TEXT である行も取り除きます。TEXT の * は任意の文字の並びを表します（今回の実行のみ。複数回指定できます）。</translation>
    </message>
    <message>
        <source>With the mask setting, also mask the value that {} stands for in the lines whose command is SHAPE, in which * stands for any run of characters (this run only; may be given more than once).</source>
        <translation>機密情報を伏せる設定がオンのとき、コマンドが SHAPE である行の {} の位置にある値も伏せます。SHAPE の * は任意の文字の並びを表します（今回の実行のみ。複数回指定できます）。</translation>
    </message>
    <message>
        <source>&apos;%1&apos; needs a LOG to write out (&quot;-&quot; for standard input)</source>
        <translation>&apos;%1&apos; には書き出す LOG を指定してください（標準入力は &quot;-&quot;）</translation>
    </message>
    <message>
        <source>pager prompt &apos;%1&apos; holds nothing but blanks and &apos;*&apos;</source>
        <translation>ページャーの表示 &apos;%1&apos; には空白と &apos;*&apos; しかありません</translation>
    </message>
    <message>
        <source>screen rows &apos;%1&apos; is no number from 1 to 1000</source>
        <translation>画面の行数 &apos;%1&apos; は 1 から 1000 までの数ではありません</translation>
    </message>
    <message>
        <source>secret shape &apos;%1&apos; holds no {} for the value</source>
        <translation>機密情報の形 &apos;%1&apos; に値を表す {} がありません</translation>
    </message>
    <message>
        <source>unknown encoding &apos;%1&apos; (auto, system, utf-8 or shift-jis)</source>
        <translation>不明な文字コード &apos;%1&apos; です（auto、system、utf-8、shift-jis のいずれか）</translation>
    </message>
    <message>
        <source> (see tarnwick --help)</source>
        <translation>（tarnwick --help を参照）</translation>
    </message>
    <message>
        <source>no display to open the window on; give the logs to convert as arguments (see --help)</source>
        <translation>ウィンドウを表示するディスプレイがありません。変換するログを引数で指定してください（--help を参照）</translation>
    </message>
    <message>
        <source>no such file or folder</source>
        <translation>ファイルまたはフォルダーが見つかりません</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>アクセスが許可されていません</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>フォルダーです</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>ディスクの空き容量が足りません</translation>
    </message>
    <message>
        <source>the file system is read-only</source>
        <translation>読み取り専用のファイルシステムです</translation>
    </message>
    <message>
        <source>the name is too long</source>
        <translation>名前が長すぎます</translation>
    </message>
    <message>
        <source>the file is in use</source>
        <translation>ファイルが使用中です</translation>
    </message>
    <message>
        <source>Cannot convert &quot;%1&quot;: it is a device, not a file.</source>
        <translation>ファイル「%1」は変換しませんでした。ファイルではなくデバイスです。</translation>
    </message>
    <message>
        <source>not converted: it is a device, not a file</source>
        <translation>変換しませんでした: ファイルではなくデバイスです</translation>
    </message>
    <message>
        <source>Did not replace &quot;%1&quot;: the log changed while it was converted. Convert it again once the capture is closed.</source>
        <translation>ファイル「%1」は置き換えませんでした。変換中にログが変わりました。ログの取得を終えてから、もう一度変換してください。</translation>
    </message>
    <message>
        <source>not replaced: the log changed while it was converted; convert it again once the capture is closed</source>
        <translation>置き換えませんでした: 変換中にログが変わりました。ログの取得を終えてから、もう一度変換してください</translation>
    </message>
    <message>
        <source>Did not write &quot;%1&quot;: another file took its name while the log was converted.</source>
        <translation>ファイル「%1」には書き込みませんでした。ログの変換中に、別のファイルがその名前で置かれました。</translation>
    </message>
    <message>
        <source>not written: another file took its name while the log was converted</source>
        <translation>書き込みませんでした: ログの変換中に、別のファイルがその名前で置かれました</translation>
    </message>
    <message>
        <source>Cannot convert &quot;%1&quot;: &quot;%3&quot; gives the same output name, so the existing output may be that log&apos;s. Turn on keeping the dots of file names to give each log an output of its own.</source>
        <translation>ファイル「%1」は変換しませんでした。「%3」からも同じ出力ファイル名になるため、今ある出力はそのログのものかもしれません。「ファイル名のドットを残す」をオンにすると、ログごとに別の出力になります。</translation>
    </message>
    <message>
        <source>not converted: %3 gives the same output name, so the existing output may be that log&apos;s (--keep-dots keeps the dots)</source>
        <translation>変換しませんでした: %3 からも同じ出力ファイル名になるため、今ある出力はそのログのものかもしれません（--keep-dots でドットを残せます）</translation>
    </message>
    <message>
        <source>Cannot convert &quot;%1&quot;: line %4 is too long to clean in memory.</source>
        <translation>ファイル「%1」は変換しませんでした。%4 行目が長すぎて、メモリー内で処理できません。</translation>
    </message>
    <message>
        <source>not converted: line %4 is too long to clean in memory</source>
        <translation>変換しませんでした: %4 行目が長すぎて、メモリー内で処理できません</translation>
    </message>
    <message>
        <source>Cannot convert &quot;%1&quot;: standard output is the log itself.</source>
        <translation>ファイル「%1」は変換しませんでした。標準出力がそのログ自身です。</translation>
    </message>
    <message>
        <source>not converted: standard output is the log itself</source>
        <translation>変換しませんでした: 標準出力がそのログ自身です</translation>
    </message>
    <message>
        <source>not converted: standard input is closed</source>
        <translation>変換しませんでした: 標準入力が閉じられています</translation>
    </message>
    <message>
        <source>cannot write to standard output: it is closed</source>
        <translation>標準出力に書き込めません: 閉じられています</translation>
    </message>
    <message>
        <source>note: the log grew while it was converted; the output holds what had been read</source>
        <translation>注意: 変換中にログが大きくなりました。出力には読み込んだところまでが入っています</translation>
    </message>
    <message>
        <source>%1 secret masked</source>
        <translation>機密情報を %1 件伏せました</translation>
    </message>
    <message>
        <source>%1 secrets masked</source>
        <translation>機密情報を %1 件伏せました</translation>
    </message>
    <message>
        <source>the extension &apos;%1&apos; holds a folder separator or &apos;..&apos;</source>
        <translation>拡張子 &apos;%1&apos; にフォルダーの区切りか &apos;..&apos; が含まれています</translation>
    </message>
    <message>
        <source>the symbolic links lead round in a circle</source>
        <translation>シンボリックリンクが循環しています</translation>
    </message>
    <message>
        <source>cannot load the window: %1</source>
        <translation>ウィンドウを読み込めませんでした: %1</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>変 換</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>終 了</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>中 断</translation>
    </message>
    <message>
        <source>Log files (%1)</source>
        <translation>ログファイル (%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Converted.</source>
        <translation>変換しました。</translation>
    </message>
    <message>
        <source>%1 (lines: %2)</source>
        <translation>%1（%2 行）</translation>
    </message>
    <message>
        <source>Converted. Lines written to %1: %2.</source>
        <translation>変換しました。%1 に %2 行を書き出しました。</translation>
    </message>
    <message>
        <source>Aborted.</source>
        <translation>中断しました。</translation>
    </message>
    <message>
        <source>Aborted. Lines written to %1: %2.</source>
        <translation>中断しました。%1 に %2 行を書き出しました。</translation>
    </message>
    <message>
        <source>The output is as it was.</source>
        <translation>出力は​元のままです。</translation>
    </message>
    <message>
        <source>Aborted. The output is as it was.</source>
        <translation>中断しました。出力は元のままです。</translation>
    </message>
    <message>
        <source>%1 (lines: %2, secrets masked: %3)</source>
        <translation>%1（%2 行、伏せた機密 %3 件）</translation>
    </message>
    <message>
        <source> Secrets masked: %1.</source>
        <translation>機密情報を %1 件伏せました。</translation>
    </message>
    <message>
        <source>Could not convert.</source>
        <translation>変換できません​でした。</translation>
    </message>
    <message>
        <source>Source log</source>
        <translation>変換元ログ</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>参照</translation>
    </message>
    <message>
        <source>Output file</source>
        <translation>出力ファイル</translation>
    </message>
    <message>
        <source>Output extension</source>
        <translation>出力拡張子</translation>
    </message>
    <message>
        <source>Overwrite the log</source>
        <translation>ログファイル上書き</translation>
    </message>
    <message>
        <source>Try $ (sideways scrolling)</source>
        <translation>$（横スクロール）に挑戦</translation>
    </message>
    <message>
        <source>Removes BackSpace(0x08) from the log.</source>
        <translation>ログファイルから BackSpace(0x08) を取り除きます。</translation>
    </message>
    <message>
        <source>Process terminal control sequences</source>
        <translation>端末制御シーケンスを処理</translation>
    </message>
    <message>
        <source>Keep the dots of file names</source>
        <translation>ファイル名のドットを残す</translation>
    </message>
    <message>
        <source>Mask secrets</source>
        <translation>機密情報を伏せる</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>文字コード</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>System</source>
        <translation>システム</translation>
    </message>
    <message>
        <source>Logs converted: %1</source>
        <translation>変換したログ: %1 件</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>ほか %1 件</translation>
    </message>
    <message>
        <source>no log given: this program converts the logs given as arguments (see --help); tarnwick.exe shows the window</source>
        <translation>ログが指定されていません: このプログラムは引数に指定したログを変換します（--help を参照）。ウィンドウは tarnwick.exe で開きます</translation>
    </message>
    <message>
        <source>Read: %1%</source>
        <translation>読み込み済み %1%</translation>
    </message>
    <message>
        <source>note: the log does not look like text (many control bytes at its start); it was converted anyway</source>
        <translation>注意: ログがテキストではないようです（先頭に制御バイトが多く含まれています）。そのまま変換しました</translation>
    </message>
    <message>
        <source>&quot;%1&quot; does not look like a log: it holds many control bytes at its start. Convert it anyway?</source>
        <translation>ファイル「%1」はログではないようです。先頭に制御バイトが多く含まれています。変換しますか?</translation>
    </message>
    <message>
        <source>cannot read the folder: %1</source>
        <translation>フォルダーを読めませんでした: %1</translation>
    </message>
    <message>
        <source>not read: a link leads back to a folder above it</source>
        <translation>読みませんでした: リンクがその上のフォルダーに戻っています</translation>
    </message>
    <message>
        <source>cannot make the output folder: %1; nothing was converted</source>
        <translation>出力先フォルダーを作れませんでした: %1。何も変換していません</translation>
    </message>
    <message>
        <source>the output folder is inside the folder of logs %1, whose outputs would become logs; nothing was converted</source>
        <translation>出力先フォルダーが、読み込むログのフォルダー %1 の中にあります（出力が次のログになってしまいます）。何も変換していません</translation>
    </message>
    <message>
        <source>Convert the logs in the subfolders of a folder LOG too (this run only).</source>
        <translation>フォルダーの LOG では、サブフォルダーのログも変換します（今回の実行のみ）。</translation>
    </message>
    <message>
        <source>Convert only the logs directly in a folder LOG (this run only).</source>
        <translation>フォルダーの LOG では、そのフォルダーの直下のログだけを変換します（今回の実行のみ）。</translation>
    </message>
    <message>
        <source>Take the files of a folder LOG whose names match GLOB (* and ? as wildcards) as its logs, in place of the profile&apos;s LogExtensions (this run only; may be given more than once).</source>
        <translation>フォルダーの LOG では、プロファイルの LogExtensions の代わりに、名前が GLOB（* と ? がワイルドカード）に合うファイルをログとします（今回の実行のみ。複数回指定できます）。</translation>
    </message>
    <message>
        <source>Write the outputs into DIR, each under the path its log has below the folder LOG it was found in (this run only).</source>
        <translation>出力を DIR に書きます。フォルダーの LOG で見つけたログの出力は、そのフォルダーの下と同じパスに置きます（今回の実行のみ）。</translation>
    </message>
    <message>
        <source>Convert up to N logs at once, from 1 to 64 (the number of processor cores by default; -j 1 converts them in order).</source>
        <translation>最大 N 個のログを同時に変換します。N は 1 から 64 まで（既定はプロセッサーのコア数。-j 1 で 1 つずつ順に変換します）。</translation>
    </message>
    <message>
        <source>jobs &apos;%1&apos; is no number from 1 to 64</source>
        <translation>同時に変換する数 &apos;%1&apos; は 1 から 64 までの数ではありません</translation>
    </message>
    <message>
        <source>%1 / %2 files</source>
        <translation>%1 / %2 ファイル</translation>
    </message>
    <message>
        <source>Logs converted: %1.</source>
        <translation>%1 件を​変換しました。</translation>
    </message>
    <message>
        <source>Not converted: %1.</source>
        <translation>%1 件は​変換して​いません。</translation>
    </message>
    <message>
        <source>Failed: %1.</source>
        <translation>%1 件は​変換できません​でした。</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>出力先フォルダー</translation>
    </message>
    <message>
        <source>Convert the logs of subfolders too</source>
        <translation>サブフォルダーのログも変換する</translation>
    </message>
    <message>
        <source>Beside each log</source>
        <translation>ログと同じフォルダー</translation>
    </message>
    <message>
        <source>Choose a folder...</source>
        <translation>フォルダーを選ぶ...</translation>
    </message>
    <message>
        <source>Write the one LOG&apos;s cleaned text to standard output from its start and on as it grows, following its name across a rotation, until ended (Ctrl+C).</source>
        <translation>ひとつの LOG の整えた内容を先頭から標準出力へ書き出し、その後もログが伸びるたびに書き出します。ログの切り替えでは名前を追い、終了させる (Ctrl+C) まで続けます。</translation>
    </message>
    <message>
        <source>&apos;%1&apos; follows one LOG file</source>
        <translation>&apos;%1&apos; で追えるのはひとつの LOG ファイルだけです</translation>
    </message>
    <message>
        <source>%1: the log was truncated; reading it again from its start</source>
        <translation>%1: ログが短くなりました。先頭から読み直します</translation>
    </message>
    <message>
        <source>note: the log holds pager prompts as text and not one BackSpace or escape: the terminal program saved it as plain text and dropped the corrections typed, which cannot be rebuilt; to keep them, log with Tera Term&apos;s plain-text option off, or with PuTTY&apos;s &quot;All session output&quot;</source>
        <translation>注意: このログにはページャーのプロンプトが文字のまま残り、BackSpace もエスケープも 1 つもありません。端末ソフトがプレーンテキストで保存したため、入力の訂正が捨てられていて、元に戻せません。訂正を残すには、Tera Term ではログの「プレーンテキスト」のチェックを外し、PuTTY では「All session output」でログを取ってください</translation>
    </message>
    <message>
        <source>Saved as plain text by the terminal program: the corrections typed were dropped and cannot be rebuilt.</source>
        <translation>端末ソフトが​プレーンテキストで​保存したログです。入力の​訂正は​捨てられていて、​元に​戻せません。</translation>
    </message>
    <message>
        <source> To keep them, log with Tera Term&apos;s plain-text option off, or with PuTTY&apos;s &quot;All session output&quot;.</source>
        <translation>訂正を残すには、Tera Term ではログの「プレーンテキスト」のチェックを外し、PuTTY では「All session output」でログを取ってください。</translation>
    </message>
    <message>
        <source>Cleans console logs captured from network equipment: applies the BackSpaces the
device&apos;s line editor sent, drops the pager prompt lines (&quot;&lt;--- More ---&gt;&quot;),
ends every line with CR LF and, with the scroll setting on, rebuilds command
lines the device scrolled sideways. With the controls setting on, it also reads
terminal control sequences (colours, cursor moves, erasures), carriage returns
and other vendors&apos; pager prompts (&quot;--More--&quot;, &quot;---(more 83%)---&quot;, ...) as a
terminal shows them, wide characters taking two columns.

Each LOG&apos;s encoding is found from its bytes (a byte order mark, well-formed
UTF-8, well-formed Shift-JIS, else the locale&apos;s) unless --encoding or the
profile&apos;s Encoding names one; UTF-16 is read and written back as UTF-16. A
terminal program&apos;s timestamp at the start of a line (&quot;[2026-12-07
10:00:00.123] &quot;, &quot;[Mon Dec 07 10:00:00.123 2026] &quot;, &quot;[0 00:01:23.456] &quot;,
&quot;10:00:00 &quot;, and the forms of --timestamp and of the profile&apos;s Timestamp1,
Timestamp2, ...) is kept, and the line is cleaned after it.

Without LOG the window opens. With LOG paths each is converted in turn into its
output file (the name up to its first dot, then the output extension; with the
overwrite setting, the log itself), with the settings of the profile
Tarnwick.ini and of the options, and the program ends by itself. Without a
display the window is not shown. With -c, or when a LOG is &quot;-&quot; (standard
input), every LOG&apos;s cleaned text goes to standard output instead, in order,
and no window is shown. Options come before the LOGs; a LOG that begins with
&quot;-&quot; is given after &quot;--&quot; or as &quot;./-name&quot;.</source>
        <translation>ネットワーク機器から取り込んだコンソールログを整えます。機器のラインエディターが
送った BackSpace を反映し、ページャーのプロンプト行（&quot;&lt;--- More ---&gt;&quot;）を
取り除き、すべての行を CR LF で終えます。スクロール設定がオンのときは、機器が
横にスクロールしたコマンド行を組み立て直します。制御シーケンス設定がオンのときは、
端末制御シーケンス（色、カーソル移動、消去）、キャリッジリターン、他社機器の
ページャーのプロンプト（&quot;--More--&quot;、&quot;---(more 83%)---&quot; など）も端末の表示どおりに
読み、全角文字は 2 桁として数えます。

各 LOG の文字コードは、--encoding またはプロファイルの Encoding で指定しない限り、
内容から判定します（バイトオーダーマーク、正しい UTF-8、正しい Shift-JIS、
それ以外はロケールの文字コード）。UTF-16 は UTF-16 として読み、UTF-16 で書き出します。
行頭の端末ソフトのタイムスタンプ（&quot;[2026-12-07 10:00:00.123] &quot;、
&quot;[Mon Dec 07 10:00:00.123 2026] &quot;、&quot;[0 00:01:23.456] &quot;、&quot;10:00:00 &quot;、
--timestamp とプロファイルの Timestamp1、Timestamp2、… の形式）は
そのまま残し、その後ろを整えます。

LOG を指定しないとウィンドウが開きます。LOG のパスを指定すると、プロファイル
Tarnwick.ini とオプションの設定で順に出力ファイル（名前の最初のドットまでに
出力拡張子を付けたもの。上書き設定では LOG そのもの）へ変換し、終了します。
ディスプレイがなければウィンドウは表示しません。-c を指定するか、LOG に &quot;-&quot;
（標準入力）があると、すべての LOG の整えた内容を順に標準出力へ書き、ウィンドウは
表示しません。オプションは LOG より前に書きます。&quot;-&quot; で始まる LOG は &quot;--&quot; の後に
書くか、&quot;./-name&quot; と書きます。</translation>
    </message>
    <message>
        <source>Also keep FORM at the start of a line as a terminal program&apos;s timestamp: the whole prefix in strftime codes, brackets and blanks included, such as &quot;[%Y/%m/%d %H:%M:%S] &quot; (this run only; may be given more than once).</source>
        <translation>行頭の FORM を端末ソフトのタイムスタンプとしても残します。FORM は括弧や空白も含めた行頭の全体を strftime のコードで書いたものです（例: &quot;[%Y/%m/%d %H:%M:%S] &quot;。今回の実行のみ。複数回指定できます）。</translation>
    </message>
    <message>
        <source>timestamp &apos;%1&apos; holds an unknown code, a lone &apos;%&apos; or a control character</source>
        <translation>タイムスタンプの形式 &apos;%1&apos; に、知らないコード、単独の &apos;%&apos;、または制御文字があります</translation>
    </message>
</context>
</TS>
