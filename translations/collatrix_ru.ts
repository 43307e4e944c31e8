<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>AScanWindow</name>
    <message>
        <source>the picture cannot be made in this format</source>
        <translation>рисунок нельзя записать в этом формате</translation>
    </message>
</context>
<context>
    <name>AboutWindowGUI</name>
    <message>
        <source>About Collatrix</source>
        <translation>О программе Collatrix</translation>
    </message>
    <message>
        <source>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;img src=&quot;:/Image/logo.bmp&quot; /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:16pt; font-weight:600;&quot;&gt;Program name and version&lt;/span&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:16pt; font-weight:600;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Tarn Qellix Instruments&lt;/span&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:12pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Devices for non-destructive testing of metals, plastics and concrete. &lt;/span&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Development and production.&lt;/span&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:12pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Thank you for using our products.&lt;/span&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;a href=&quot;https://collatrix.example.com&quot;&gt;&lt;span style=&quot; font-size:12pt; text-decoration: underline; color:#0000ff;&quot;&gt;https://collatrix.example.com&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;img src=&quot;:/Image/logo.bmp&quot; /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:16pt; font-weight:600;&quot;&gt;Program name and version&lt;/span&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:16pt; font-weight:600;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Tarn Qellix Instruments&lt;/span&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:12pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Приборы неразрушающего контроля металлов, пластмасс и бетона. &lt;/span&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Разработка и производство.&lt;/span&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:12pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:12pt;&quot;&gt;Спасибо, что пользуетесь нашими приборами.&lt;/span&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px; font-size:8pt;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;a href=&quot;https://collatrix.example.com&quot;&gt;&lt;span style=&quot; font-size:12pt; text-decoration: underline; color:#0000ff;&quot;&gt;https://collatrix.example.com&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>ArchiveWindow</name>
    <message>
        <source>%1, not yet shared</source>
        <translation>%1, ещё не в общем архиве</translation>
    </message>
    <message>
        <source>History of group %1, cell %2</source>
        <translation>История группы %1, ячейки %2</translation>
    </message>
    <message>
        <source>History of the row selected in the main window</source>
        <translation>История строки, выбранной в главном окне</translation>
    </message>
    <message numerus="yes">
        <source>%n download(s) brought into the shared archive.</source>
        <translation>
            <numerusform>%n передача перенесена в общий архив.</numerusform>
            <numerusform>%n передачи перенесены в общий архив.</numerusform>
            <numerusform>%n передач перенесено в общий архив.</numerusform>
        </translation>
    </message>
    <message>
        <source>Shared archive</source>
        <translation>Общий архив</translation>
    </message>
    <message>
        <source>The server asks for a password for %1:</source>
        <translation>Сервер запрашивает пароль для %1:</translation>
    </message>
    <message numerus="yes">
        <source>%n download(s) waiting for the shared archive</source>
        <translation>
            <numerusform>%n передача ждёт общего архива</numerusform>
            <numerusform>%n передачи ждут общего архива</numerusform>
            <numerusform>%n передач ждут общего архива</numerusform>
        </translation>
    </message>
    <message>
        <source>Bringing the waiting downloads into the shared archive...</source>
        <translation>Ожидающие передачи переносятся в общий архив...</translation>
    </message>
    <message>
        <source>Import readings</source>
        <translation>Импорт показаний</translation>
    </message>
    <message>
        <source>Readings (*.csv);;All files (*)</source>
        <translation>Показания (*.csv);;Все файлы (*)</translation>
    </message>
    <message>
        <source>Importing %1...</source>
        <translation>Импортируется %1...</translation>
    </message>
    <message>
        <source>Importing readings: %1 of %2 downloads</source>
        <translation>Импорт показаний: %1 из %2 передач</translation>
    </message>
</context>
<context>
    <name>ArchiveWindowGUI</name>
    <message>
        <source>Archive</source>
        <translation>Архив</translation>
    </message>
    <message>
        <source>Filter:</source>
        <translation>Фильтр:</translation>
    </message>
    <message>
        <source>Text in the time, tester, objects, outcome or file</source>
        <translation>Текст во времени, приборе, объектах, итоге или файле</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>С:</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>По:</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>Tester</source>
        <translation>Прибор</translation>
    </message>
    <message>
        <source>Objects</source>
        <translation>Объекты</translation>
    </message>
    <message>
        <source>Rows</source>
        <translation>Строки</translation>
    </message>
    <message>
        <source>A-scans</source>
        <translation>A-сканы</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Итог</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>Sync</source>
        <translation>Синхронизировать</translation>
    </message>
    <message>
        <source>History of the row selected in the main window</source>
        <translation>История строки, выбранной в главном окне</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Ед. изм.</translation>
    </message>
    <message>
        <source>Name a group (an object), from the selected download on</source>
        <translation>Назвать группу (объект), начиная с выбранной передачи</translation>
    </message>
    <message>
        <source>Group:</source>
        <translation>Группа:</translation>
    </message>
    <message>
        <source>Tank 3 shell</source>
        <translation>Резервуар 3, обечайка</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Назвать</translation>
    </message>
    <message>
        <source>Shared archive of the team (empty: this computer only)</source>
        <translation>Общий архив группы (пусто: только этот компьютер)</translation>
    </message>
    <message>
        <source>postgresql://user@host:5432/dbname</source>
        <translation>postgresql://user@host:5432/dbname</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Подключить</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Name of the point (CML-07)</source>
        <translation>Обозначение точки (CML-07)</translation>
    </message>
    <message>
        <source>Location (12 o&apos;clock, 300 mm downstream of weld W3)</source>
        <translation>Расположение (на 12 часов, 300 мм после шва W3)</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Задать</translation>
    </message>
    <message>
        <source>Record readings of earlier years from a spreadsheet saved as CSV</source>
        <translation>Записать показания прежних лет из таблицы, сохранённой в CSV</translation>
    </message>
    <message>
        <source>Import readings...</source>
        <translation>Импорт показаний...</translation>
    </message>
</context>
<context>
    <name>CActionListSection</name>
    <message>
        <source>below minimum</source>
        <translation>ниже минимума</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>предупреждение</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>норма</translation>
    </message>
    <message>
        <source>no limit</source>
        <translation>без допусков</translation>
    </message>
    <message>
        <source>not a thickness</source>
        <translation>не толщина</translation>
    </message>
    <message>
        <source>Points needing action</source>
        <translation>Точки, требующие действий</translation>
    </message>
    <message>
        <source>No point is below its minimum or within its warning margin, and none reaches its minimum within %1 years.</source>
        <translation>Ни одна точка не ниже минимума и не в пределах запаса до него, и ни одна не достигнет минимума за %1 лет.</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Группа</translation>
    </message>
    <message>
        <source>Cell</source>
        <translation>Номер</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Ед. изм.</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Состояние</translation>
    </message>
    <message>
        <source>Loss %</source>
        <translation>Потеря, %</translation>
    </message>
    <message>
        <source>Initial</source>
        <translation>Первое</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Предыдущее</translation>
    </message>
    <message>
        <source>LT rate</source>
        <translation>Скор. долг.</translation>
    </message>
    <message>
        <source>ST rate</source>
        <translation>Скор. кратк.</translation>
    </message>
    <message>
        <source>Rate</source>
        <translation>Скорость</translation>
    </message>
    <message>
        <source>Life</source>
        <translation>Ресурс</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Следующий</translation>
    </message>
    <message>
        <source>overdue</source>
        <translation>просрочено</translation>
    </message>
    <message>
        <source>to review</source>
        <translation>на проверку</translation>
    </message>
    <message>
        <source>rejected</source>
        <translation>отклонено</translation>
    </message>
</context>
<context>
    <name>CArchive</name>
    <message>
        <source>Cannot open the archive %1: %2</source>
        <translation>Не удаётся открыть архив %1: %2</translation>
    </message>
    <message>
        <source>Cannot use the archive %1: %2</source>
        <translation>Архив %1 не может быть использован: %2</translation>
    </message>
    <message>
        <source>the Qt SQL driver %1 is not installed (Debian: libqt6sql6-%2)</source>
        <translation>драйвер Qt SQL %1 не установлен (Debian: libqt6sql6-%2)</translation>
    </message>
    <message>
        <source>the archive %1 is not open</source>
        <translation>архив %1 не открыт</translation>
    </message>
    <message>
        <source>The archive file or its folder is read-only: downloads are still kept as files, but they are not recorded until the archive can be written.</source>
        <translation>Файл архива или его папка доступны только для чтения: загрузки по-прежнему сохраняются в файлы, но не записываются в архив, пока в него нельзя писать.</translation>
    </message>
    <message>
        <source>the packed results of download %1 are damaged</source>
        <translation>упакованные результаты загрузки %1 повреждены</translation>
    </message>
</context>
<context>
    <name>CArchiveIndicator</name>
    <message>
        <source>Adding the kept downloads to the archive: %1 of %2</source>
        <translation>Сохранённые передачи добавляются в архив: %1 из %2</translation>
    </message>
</context>
<context>
    <name>CArchiveLocation</name>
    <message>
        <source>&apos;%1&apos; names no archive (use sqlite:PATH or postgresql://...)</source>
        <translation>«%1» не указывает на архив (используйте sqlite:ПУТЬ или postgresql://...)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid PostgreSQL URI: %2</source>
        <translation>«%1» не является правильным URI PostgreSQL: %2</translation>
    </message>
</context>
<context>
    <name>CArchiveSchema</name>
    <message>
        <source>it holds tables, but not those of an archive</source>
        <translation>в нём есть таблицы, но не таблицы архива</translation>
    </message>
    <message>
        <source>it was changed by a newer version of the program: writing to it needs archive version %1 or later, and this one knows version %2</source>
        <translation>он изменён более новой версией программы: для записи в него нужна версия архива %1 или новее, а эта программа знает версию %2</translation>
    </message>
    <message>
        <source>no migration leads to archive version %1</source>
        <translation>нет перехода к версии архива %1</translation>
    </message>
</context>
<context>
    <name>CArchiveService</name>
    <message>
        <source>Opening the archive...</source>
        <translation>Архив открывается...</translation>
    </message>
    <message numerus="yes">
        <source>Shared archive: %n download(s) waiting</source>
        <translation>
            <numerusform>Общий архив: ждёт %n передача</numerusform>
            <numerusform>Общий архив: ждут %n передачи</numerusform>
            <numerusform>Общий архив: ждут %n передач</numerusform>
        </translation>
    </message>
    <message>
        <source>Shared archive reached</source>
        <translation>Общий архив доступен</translation>
    </message>
    <message numerus="yes">
        <source>Shared archive not reachable, %n download(s) waiting, next try in %1 s</source>
        <translation>
            <numerusform>Общий архив недоступен, ждёт %n передача, следующая попытка через %1 с</numerusform>
            <numerusform>Общий архив недоступен, ждут %n передачи, следующая попытка через %1 с</numerusform>
            <numerusform>Общий архив недоступен, ждут %n передач, следующая попытка через %1 с</numerusform>
        </translation>
    </message>
    <message>
        <source>The shared archive wants a password: open the Archive window</source>
        <translation>Общий архив требует пароль: откройте окно «Архив»</translation>
    </message>
    <message>
        <source>The archive cannot be used: %1</source>
        <translation>Архивом нельзя пользоваться: %1</translation>
    </message>
    <message>
        <source>Shared archive not reachable, next try in %1 s</source>
        <translation>Общий архив недоступен, следующая попытка через %1 с</translation>
    </message>
</context>
<context>
    <name>CArchiveSet</name>
    <message>
        <source>The shared archive cannot take the download now (%1); it is kept and will be shared later.</source>
        <translation>Общий архив сейчас не может принять передачу (%1); она сохранена и будет передана в общий архив позже.</translation>
    </message>
    <message>
        <source>No shared archive is chosen.</source>
        <translation>Общий архив не выбран.</translation>
    </message>
    <message>
        <source>%1 could not be shared: %2</source>
        <translation>%1 не удалось передать в общий архив: %2</translation>
    </message>
    <message>
        <source>The shared archive cannot take the decision now (%1); it is kept and will be shared later.</source>
        <translation>Общий архив сейчас не может принять решение (%1); оно сохранено и будет передано позже.</translation>
    </message>
    <message>
        <source>The decision on group %1, cell %2 of %3</source>
        <translation>Решение по группе %1, номеру %2 от %3</translation>
    </message>
</context>
<context>
    <name>CAtomicFile</name>
    <message>
        <source>the data could not be written</source>
        <translation>данные не удалось записать</translation>
    </message>
</context>
<context>
    <name>CCollatrix</name>
    <message>
        <source>Data/</source>
        <translation>Data/</translation>
    </message>
    <message>
        <source>Data transfer completed successfully.</source>
        <translation>Данные успешно переданы.</translation>
    </message>
    <message>
        <source>Received data is incomplete! Please try again.</source>
        <translation>Данные приняты не полностью! Повторите передачу.</translation>
    </message>
    <message>
        <source>Data transfer failed! Please try again.</source>
        <translation>Передать данные не удалось! Повторите передачу.</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>группа</translation>
    </message>
    <message>
        <source>Cell</source>
        <translation>номер</translation>
    </message>
    <message>
        <source>m/s</source>
        <translation>м/с</translation>
    </message>
    <message>
        <source>us</source>
        <translation>мкс</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>мм</translation>
    </message>
    <message>
        <source>Inches</source>
        <translation>дюймы</translation>
    </message>
    <message>
        <source>&quot;Group&quot;;&quot;Cell&quot;;&quot;Result&quot;;&quot;Unit&quot;</source>
        <translation>&quot;Группа&quot;;&quot;Номер&quot;;&quot;Результат&quot;;&quot;Ед. изм.&quot;</translation>
    </message>
    <message>
        <source>&quot;Group&quot;;&quot;Cell&quot;;&quot;Result&quot;;&quot;Unit&quot;;&quot;Ascan&quot;</source>
        <translation>&quot;Группа&quot;;&quot;Номер&quot;;&quot;Результат&quot;;&quot;Ед. изм.&quot;;&quot;А-скан&quot;</translation>
    </message>
    <message>
        <source>Received data will be lost. Do you want to save it?</source>
        <translation>Принятые данные будут потеряны. Сохранить их?</translation>
    </message>
    <message>
        <source>Received data was not saved.</source>
        <translation>Принятые данные не сохранены.</translation>
    </message>
</context>
<context>
    <name>CCsvReader</name>
    <message>
        <source>the file is not UTF-8 text</source>
        <translation>файл - не текст в UTF-8</translation>
    </message>
    <message>
        <source>a quote is not closed</source>
        <translation>кавычка не закрыта</translation>
    </message>
    <message>
        <source>a quote in the middle of a field (a field that holds one is quoted whole, its quotes doubled)</source>
        <translation>кавычка внутри поля (поле с кавычкой заключается в кавычки целиком, кавычки в нём удваиваются)</translation>
    </message>
</context>
<context>
    <name>CDesignMinimum</name>
    <message>
        <source>the pressure, the size, the stress and the factors must be positive</source>
        <translation>давление, размер, напряжение и коэффициенты должны быть положительными</translation>
    </message>
    <message>
        <source>the pressure is too high for the allowable stress: the formula gives no thickness</source>
        <translation>давление слишком велико для допускаемого напряжения: формула не даёт толщины</translation>
    </message>
    <message>
        <source>straight pipe under internal pressure: t = P·D / (2·(S·E·W + P·Y))</source>
        <translation>прямая труба под внутренним давлением: t = P·D / (2·(S·E·W + P·Y))</translation>
    </message>
    <message>
        <source>cylindrical shell, circumferential stress: t = P·R / (S·E − 0.6·P)</source>
        <translation>цилиндрическая обечайка, окружное напряжение: t = P·R / (S·E − 0.6·P)</translation>
    </message>
    <message>
        <source>2:1 ellipsoidal head: t = P·D / (2·S·E − 0.2·P)</source>
        <translation>эллиптическое днище 2:1: t = P·D / (2·S·E − 0.2·P)</translation>
    </message>
    <message>
        <source>%1, with %2: pressure thickness %3, structural minimum %4, minimum allowable %5</source>
        <translation>%1, при %2: расчётная толщина по давлению %3, конструктивный минимум %4, минимально допустимая %5</translation>
    </message>
</context>
<context>
    <name>CDownloadOpener</name>
    <message>
        <source>The kept file %1 is gone, and the archive holds no copy of it.</source>
        <translation>Сохранённого файла %1 больше нет, и копии его в архиве нет.</translation>
    </message>
    <message>
        <source>The copy of the download cannot be written to %1.</source>
        <translation>Копию передачи не удаётся записать в %1.</translation>
    </message>
</context>
<context>
    <name>CDueList</name>
    <message>
        <source>Governing point: %1
Points: %2, below minimum: %3, warning: %4, suspect: %5, overdue: %6
Last survey: %7</source>
        <translation>Определяющая точка: %1
Точек: %2, ниже минимума: %3, предупреждение: %4, сомнительных: %5, просрочено: %6
Последнее обследование: %7</translation>
    </message>
    <message>
        <source>Inspection due: %1</source>
        <translation>Срок контроля: %1</translation>
    </message>
</context>
<context>
    <name>CDueReport</name>
    <message>
        <source>Inspections due</source>
        <translation>Сроки контроля</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Группа</translation>
    </message>
    <message>
        <source>Last survey</source>
        <translation>Последнее обследование</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>Точек</translation>
    </message>
    <message>
        <source>Below minimum</source>
        <translation>Ниже минимума</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Предупреждение</translation>
    </message>
    <message>
        <source>Suspect</source>
        <translation>Сомнительные</translation>
    </message>
    <message>
        <source>Overdue</source>
        <translation>Просрочено</translation>
    </message>
    <message>
        <source>Point</source>
        <translation>Точка</translation>
    </message>
    <message>
        <source>Next inspection</source>
        <translation>Следующий контроль</translation>
    </message>
    <message>
        <source>to review</source>
        <translation>на проверку</translation>
    </message>
    <message>
        <source>Date: %1</source>
        <translation>Дата: %1</translation>
    </message>
    <message>
        <source>Archive: %1</source>
        <translation>Архив: %1</translation>
    </message>
    <message>
        <source>Objects: %1</source>
        <translation>Объектов: %1</translation>
    </message>
    <message>
        <source>No object with limits is listed.</source>
        <translation>Нет объектов с заданными допусками.</translation>
    </message>
</context>
<context>
    <name>CEvaluationSummarySection</name>
    <message>
        <source>Evaluation</source>
        <translation>Оценка</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Группа</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Ед. изм.</translation>
    </message>
    <message>
        <source>Nominal</source>
        <translation>Номинал</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Минимум</translation>
    </message>
    <message>
        <source>Margin</source>
        <translation>Запас</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Количество</translation>
    </message>
    <message>
        <source>Thinnest</source>
        <translation>Наименьшая</translation>
    </message>
    <message>
        <source>Cell</source>
        <translation>Номер</translation>
    </message>
    <message>
        <source>Thickest</source>
        <translation>Наибольшая</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Среднее</translation>
    </message>
    <message>
        <source>Std. dev.</source>
        <translation>Ст. откл.</translation>
    </message>
    <message>
        <source>Below</source>
        <translation>Ниже мин.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Предупр.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Норма</translation>
    </message>
    <message>
        <source>Life, years</source>
        <translation>Ресурс, лет</translation>
    </message>
    <message>
        <source>Overdue</source>
        <translation>Просроч.</translation>
    </message>
    <message>
        <source>To review</source>
        <translation>Пров.</translation>
    </message>
    <message>
        <source>Each reading is first checked against the previous counted reading of the same test point (group and cell): one thicker by more than the object&apos;s tolerance, or under 60 % of it, is suspect and counts nowhere until an engineer verifies it; a rejected reading never counts. The initial and previous readings are the earliest and the latest counted readings taken at least the object&apos;s minimum interval before. Long-term rate = (initial - actual) / years between them; short-term rate = (previous - actual) / years between them. With three counted readings or more over a year, the least-squares rate is the slope of thickness against time, with its standard error and a one-sided 95 % upper bound (Student&apos;s t). The object&apos;s choice of rate governs. Remaining life = (actual - minimum) / rate. The next inspection is due after the interval the object&apos;s rule gives (by default half the remaining life, at most %1 years), and now for a point below its minimum; a point whose date has passed without a later reading is overdue. A year is 365.25 days. These figures are estimates: the rules of the inspection code that applies decide.</source>
        <translation>Каждое показание сначала сравнивается с предыдущим учтённым показанием той же точки (группа и номер): показание, которое толще более чем на допуск объекта или меньше 60 % от него, сомнительно и не учитывается, пока инженер его не подтвердит; отклонённое показание не учитывается никогда. Первое и предыдущее показания - самое раннее и самое позднее учтённые показания, снятые не позже чем за минимальный интервал объекта. Долгосрочная скорость = (первое - текущее) / годы между ними; краткосрочная скорость = (предыдущее - текущее) / годы между ними. При трёх и более учтённых показаниях за год и больше скорость по методу наименьших квадратов - наклон толщины по времени, с её стандартной ошибкой и односторонней верхней границей 95 % (t Стьюдента). Определяющую скорость выбирает объект. Остаточный ресурс = (текущее - минимум) / скорость. Следующий контроль - через интервал по правилу объекта (по умолчанию половина остаточного ресурса, не более %1 лет), а для точки ниже минимума - сейчас; точка, срок которой прошёл без более позднего показания, просрочена. Год - 365,25 суток. Эти значения - оценки: решают правила применимого нормативного документа.</translation>
    </message>
</context>
<context>
    <name>CKeptDownload</name>
    <message>
        <source>the file is damaged (its description names no protocol)</source>
        <translation>файл повреждён (в его описании не указан протокол)</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>файл пуст</translation>
    </message>
    <message>
        <source>the file was kept by a newer version of the program (format %1; this one reads format %2)</source>
        <translation>файл сохранён более новой версией программы (формат %1; эта версия читает формат %2)</translation>
    </message>
    <message>
        <source>the file is cut short</source>
        <translation>файл обрезан</translation>
    </message>
    <message>
        <source>the file is damaged (its checksum does not match)</source>
        <translation>файл повреждён (контрольная сумма не совпадает)</translation>
    </message>
    <message>
        <source>too short for a tester dump (%1 bytes, a dump has at least %2)</source>
        <translation>слишком короткий для дампа прибора (%1 байт, в дампе не меньше %2)</translation>
    </message>
    <message>
        <source>neither a kept download nor a tester dump with a known header (a dump of 32-byte records is read as extended)</source>
        <translation>это не сохранённая передача и не дамп прибора с известным заголовком (дамп с 32-байтными записями открывается как расширенный)</translation>
    </message>
    <message>
        <source>no records in the dump</source>
        <translation>в дампе нет записей</translation>
    </message>
    <message>
        <source>no records in groups 1 to 256</source>
        <translation>нет записей в группах 1-256</translation>
    </message>
</context>
<context>
    <name>CKeptDownloads</name>
    <message>
        <source>Downloads are not being kept: %1 cannot be written (%2).
The received data is shown as usual; save it before you close the program.</source>
        <translation>Передачи не сохраняются: запись в %1 невозможна (%2).
Принятые данные показаны как обычно; сохраните их перед закрытием программы.</translation>
    </message>
    <message>
        <source>Cannot open %1:
%2.</source>
        <translation>Не удаётся открыть %1:
%2.</translation>
    </message>
    <message>
        <source>Kept downloads (*%1)</source>
        <translation>Сохранённые передачи (*%1)</translation>
    </message>
    <message>
        <source>Tester dumps (*)</source>
        <translation>Дампы прибора (*)</translation>
    </message>
    <message>
        <source>Tester dumps of 32-byte records (*)</source>
        <translation>Дампы прибора с 32-байтными записями (*)</translation>
    </message>
    <message>
        <source>Open a kept download</source>
        <translation>Открыть сохранённую передачу</translation>
    </message>
</context>
<context>
    <name>CKeptFolder</name>
    <message>
        <source>the folder cannot be made</source>
        <translation>папку невозможно создать</translation>
    </message>
</context>
<context>
    <name>CLimitsSection</name>
    <message>
        <source>Group %1: nominal %2, minimum %3, warning margin %4 %5, set by %6 on %7. Growth tolerance %8, minimum interval %9 days, interval rule %10, governing rate %11.</source>
        <translation>Группа %1: номинал %2, минимум %3, запас до предупреждения %4 %5, задал %6, %7. Допуск на рост %8, минимальный интервал %9 сут., правило интервала %10, определяющая скорость %11.</translation>
    </message>
    <message>
        <source>The minimum comes from the design data set by %1 on %2: %3.</source>
        <translation>Минимум получен из проектных данных, заданных %1, %2: %3.</translation>
    </message>
    <message>
        <source>Limits in force</source>
        <translation>Действующие допуски</translation>
    </message>
</context>
<context>
    <name>COverviewSection</name>
    <message>
        <source>not known</source>
        <translation>неизвестно</translation>
    </message>
    <message>
        <source>Device: %1</source>
        <translation>Прибор: %1</translation>
    </message>
    <message>
        <source>Downloaded: %1</source>
        <translation>Передано: %1</translation>
    </message>
    <message>
        <source>Port: %1</source>
        <translation>Порт: %1</translation>
    </message>
    <message>
        <source>Results: %1    A-scans: %2</source>
        <translation>Результатов: %1    А-сканов: %2</translation>
    </message>
    <message>
        <source>Outcome: the received data is incomplete</source>
        <translation>Итог: данные приняты не полностью</translation>
    </message>
    <message>
        <source>Inspection report</source>
        <translation>Протокол контроля</translation>
    </message>
    <message>
        <source>Statistics per group</source>
        <translation>Статистика по группам</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Группа</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Ед. изм.</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Количество</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Минимум</translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation>Максимум</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Среднее</translation>
    </message>
</context>
<context>
    <name>CPicturesSection</name>
    <message>
        <source>Group %1, cell %2: %3 %4</source>
        <translation>Группа %1, номер %2: %3 %4</translation>
    </message>
</context>
<context>
    <name>CPointNames</name>
    <message>
        <source>line %1: %2</source>
        <translation>строка %1: %2</translation>
    </message>
    <message>
        <source>%1 fields where group;cell;name;location are four</source>
        <translation>%1 полей, а group;cell;name;location - это четыре</translation>
    </message>
    <message>
        <source>&apos;%1;%2&apos; is not a group and a cell number</source>
        <translation>&apos;%1;%2&apos; - не номер группы и номер точки</translation>
    </message>
    <message>
        <source>the point has no name</source>
        <translation>у точки нет обозначения</translation>
    </message>
    <message>
        <source>line 1: the list starts with the line %1</source>
        <translation>строка 1: список начинается со строки %1</translation>
    </message>
    <message>
        <source>line %1: group %2, cell %3 is named twice</source>
        <translation>строка %1: группа %2, номер %3 назван дважды</translation>
    </message>
</context>
<context>
    <name>CProgramSettings</name>
    <message>
        <source>%1 cannot be written</source>
        <translation>нельзя записать %1</translation>
    </message>
</context>
<context>
    <name>CReadingsImport</name>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 не читается: %2</translation>
    </message>
    <message>
        <source>the first line must be the header %1</source>
        <translation>первая строка должна быть заголовком %1</translation>
    </message>
    <message>
        <source>%1 fields where %2 are wanted</source>
        <translation>%1 полей, а нужны %2</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a time (as 2024-05-01T09:30:00+02:00, 2024-05-01T09:30 or 2024-05-01)</source>
        <translation>&apos;%1&apos; - не время (например 2024-05-01T09:30:00+02:00, 2024-05-01T09:30 или 2024-05-01)</translation>
    </message>
    <message>
        <source>the group &apos;%1&apos; is not a whole number from 1 to %2</source>
        <translation>группа &apos;%1&apos; - не целое число от 1 до %2</translation>
    </message>
    <message>
        <source>the cell &apos;%1&apos; is not a whole number from 1 to %2</source>
        <translation>номер &apos;%1&apos; - не целое число от 1 до %2</translation>
    </message>
    <message>
        <source>the unit &apos;%1&apos; is neither mm nor in</source>
        <translation>единица &apos;%1&apos; - ни mm, ни in</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>строка %1: %2</translation>
    </message>
    <message>
        <source>%1 more bad lines</source>
        <translation>ещё %1 неверных строк</translation>
    </message>
    <message>
        <source>Downloads recorded: %1 (%2 readings); already in the archive: %3 (%4 readings).</source>
        <translation>Записано передач: %1 (%2 показаний); уже в архиве: %3 (%4 показаний).</translation>
    </message>
    <message>
        <source>Nothing of %1 was recorded.</source>
        <translation>Из %1 ничего не записано.</translation>
    </message>
    <message>
        <source>the result &apos;%1&apos; is not a number above 0 with at most %2 decimals</source>
        <translation>результат &apos;%1&apos; - не число больше 0 с не более чем %2 знаками после запятой</translation>
    </message>
</context>
<context>
    <name>CReportAction</name>
    <message>
        <source>Save report as</source>
        <translation>Сохранить протокол как</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>Файлы PDF (*.pdf)</translation>
    </message>
    <message>
        <source>The report cannot be written to %1:
%2.</source>
        <translation>Протокол невозможно записать в %1:
%2.</translation>
    </message>
</context>
<context>
    <name>CReportDocument</name>
    <message>
        <source>Page %1 of %2</source>
        <translation>Страница %1 из %2</translation>
    </message>
</context>
<context>
    <name>CReportParticulars</name>
    <message>
        <source>Client</source>
        <translation>Заказчик</translation>
    </message>
    <message>
        <source>Site</source>
        <translation>Площадка</translation>
    </message>
    <message>
        <source>Object</source>
        <translation>Объект</translation>
    </message>
    <message>
        <source>Locations measured</source>
        <translation>Места измерений</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>Оператор</translation>
    </message>
    <message>
        <source>Qualification</source>
        <translation>Квалификация</translation>
    </message>
    <message>
        <source>Instrument</source>
        <translation>Прибор</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Заводской номер</translation>
    </message>
    <message>
        <source>Probe</source>
        <translation>Преобразователь</translation>
    </message>
    <message>
        <source>Couplant</source>
        <translation>Контактная жидкость</translation>
    </message>
    <message>
        <source>Reference block or sound velocity</source>
        <translation>Настроечный образец или скорость звука</translation>
    </message>
    <message>
        <source>Measurement mode</source>
        <translation>Режим измерения</translation>
    </message>
    <message>
        <source>Surface condition</source>
        <translation>Состояние поверхности</translation>
    </message>
    <message>
        <source>Date of the test</source>
        <translation>Дата контроля</translation>
    </message>
    <message>
        <source>Deviations from the method</source>
        <translation>Отступления от методики</translation>
    </message>
    <message>
        <source>Remarks</source>
        <translation>Примечания</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>CReportWriter</name>
    <message>
        <source>Inspection report</source>
        <translation>Протокол контроля</translation>
    </message>
</context>
<context>
    <name>CResultsSection</name>
    <message>
        <source>Group</source>
        <translation>Группа</translation>
    </message>
    <message>
        <source>Cell</source>
        <translation>Номер</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Ед. изм.</translation>
    </message>
    <message>
        <source>A-scan</source>
        <translation>А-скан</translation>
    </message>
</context>
<context>
    <name>CReviewService</name>
    <message>
        <source>the archive holds no reading of group %1, cell %2 taken at %3</source>
        <translation>в архиве нет показания группы %1, номера %2, снятого %3</translation>
    </message>
</context>
<context>
    <name>CThicknessMapSection</name>
    <message>
        <source>Colours from red at the minimum, %1 %3, to green at the nominal, %2 %3.</source>
        <translation>Цвета: от красного на минимуме, %1 %3, до зелёного на номинале, %2 %3.</translation>
    </message>
    <message>
        <source>No limits are set: colours from red at the thinnest reading, %1 %3, to green at the thickest, %2 %3.</source>
        <translation>Допуски не заданы: цвета от красного на наименьшем показании, %1 %3, до зелёного на наибольшем, %2 %3.</translation>
    </message>
    <message>
        <source>%1 cells to a row; a blank cell has no reading. The thinnest, cell %2 at %3 %4, is framed.</source>
        <translation>%1 ячеек в ряду; пустая ячейка - нет показания. Наименьшая, номер %2, %3 %4, обведена рамкой.</translation>
    </message>
    <message>
        <source>Thickness map: group %1</source>
        <translation>Карта толщин: группа %1</translation>
    </message>
</context>
<context>
    <name>DueWindow</name>
    <message>
        <source>Reading the archive...</source>
        <translation>Чтение архива...</translation>
    </message>
    <message>
        <source>The list cannot be read from the archive: %1</source>
        <translation>Список не удаётся прочитать из архива: %1</translation>
    </message>
    <message>
        <source>No object in the archive has limits, so nothing falls due.</source>
        <translation>Ни для одного объекта в архиве не заданы допуски, поэтому сроков контроля нет.</translation>
    </message>
    <message>
        <source>The list is written to %1.</source>
        <translation>Список записан в %1.</translation>
    </message>
    <message>
        <source>The list cannot be written to %1: %2.</source>
        <translation>Список не удаётся записать в %1: %2.</translation>
    </message>
    <message>
        <source>Export the list as CSV</source>
        <translation>Экспорт списка в CSV</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Файлы CSV (*.csv)</translation>
    </message>
    <message>
        <source>Export the list as a calendar</source>
        <translation>Экспорт списка в календарь</translation>
    </message>
    <message>
        <source>Calendar files (*.ics)</source>
        <translation>Файлы календаря (*.ics)</translation>
    </message>
    <message>
        <source>Print the list to PDF</source>
        <translation>Печать списка в PDF</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>Файлы PDF (*.pdf)</translation>
    </message>
    <message numerus="yes">
        <source>Due within: %n day(s)</source>
        <translation>
            <numerusform>Срок в пределах: %n дня</numerusform>
            <numerusform>Срок в пределах: %n дней</numerusform>
            <numerusform>Срок в пределах: %n дней</numerusform>
        </translation>
    </message>
    <message>
        <source>Status: %1</source>
        <translation>Состояние: %1</translation>
    </message>
</context>
<context>
    <name>DueWindowGUI</name>
    <message>
        <source>Inspections due</source>
        <translation>Сроки контроля</translation>
    </message>
    <message>
        <source>Due &amp;within</source>
        <translation>Срок в &amp;пределах</translation>
    </message>
    <message>
        <source> days</source>
        <translation> дн.</translation>
    </message>
    <message>
        <source>&amp;Status:</source>
        <translation>&amp;Состояние:</translation>
    </message>
    <message>
        <source>All objects</source>
        <translation>Все объекты</translation>
    </message>
    <message>
        <source>Below minimum</source>
        <translation>Ниже минимума</translation>
    </message>
    <message>
        <source>Overdue</source>
        <translation>Просрочено</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Предупреждение</translation>
    </message>
    <message>
        <source>Suspect</source>
        <translation>Сомнительные</translation>
    </message>
    <message>
        <source>Export &amp;CSV...</source>
        <translation>Экспорт &amp;CSV...</translation>
    </message>
    <message>
        <source>Export c&amp;alendar...</source>
        <translation>Экспорт в к&amp;алендарь...</translation>
    </message>
    <message>
        <source>&amp;Print to PDF...</source>
        <translation>&amp;Печать в PDF...</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
</context>
<context>
    <name>EvaluationWindow</name>
    <message>
        <source>below minimum</source>
        <translation>ниже минимума</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>предупреждение</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>норма</translation>
    </message>
    <message>
        <source>no limit</source>
        <translation>без допусков</translation>
    </message>
    <message>
        <source>not a thickness</source>
        <translation>не толщина</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Группа</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Ед. изм.</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Количество</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Минимум</translation>
    </message>
    <message>
        <source>Cell</source>
        <translation>Номер</translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation>Максимум</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Среднее</translation>
    </message>
    <message>
        <source>Std. dev.</source>
        <translation>Ст. откл.</translation>
    </message>
    <message>
        <source>Below minimum</source>
        <translation>Ниже минимума</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Предупр.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Норма</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Без допусков</translation>
    </message>
    <message>
        <source>Not a thickness</source>
        <translation>Не толщина</translation>
    </message>
    <message>
        <source>Worst life, years</source>
        <translation>Наименьший ресурс, лет</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Состояние</translation>
    </message>
    <message>
        <source>Loss %</source>
        <translation>Потеря, %</translation>
    </message>
    <message>
        <source>Rate per year</source>
        <translation>Скорость в год</translation>
    </message>
    <message>
        <source>Remaining life, years</source>
        <translation>Остаточный ресурс, лет</translation>
    </message>
    <message>
        <source>Next inspection</source>
        <translation>Следующий контроль</translation>
    </message>
    <message>
        <source>The archive cannot be read, so there is nothing to compare with: %1</source>
        <translation>Архив не читается, поэтому сравнивать не с чем: %1</translation>
    </message>
    <message>
        <source>Group %1, cell %2: %3 %4</source>
        <translation>Группа %1, номер %2: %3 %4</translation>
    </message>
    <message>
        <source>Status: %1</source>
        <translation>Состояние: %1</translation>
    </message>
    <message>
        <source>Loss: %1 %</source>
        <translation>Потеря: %1 %</translation>
    </message>
    <message>
        <source>Previous: %1 on %2</source>
        <translation>Предыдущее: %1, %2</translation>
    </message>
    <message>
        <source>Rate: %1 %2 per year</source>
        <translation>Скорость: %1 %2 в год</translation>
    </message>
    <message>
        <source>Remaining life: %1 years</source>
        <translation>Остаточный ресурс: %1 лет</translation>
    </message>
    <message>
        <source>Next inspection: %1</source>
        <translation>Следующий контроль: %1</translation>
    </message>
    <message>
        <source>Red at the minimum, %1 %3, to green at the nominal, %2 %3. The thinnest cell is framed.</source>
        <translation>От красного на минимуме, %1 %3, до зелёного на номинале, %2 %3. Самая тонкая точка обведена рамкой.</translation>
    </message>
    <message>
        <source>No limits are set for this group: red is its thinnest reading, green its thickest.</source>
        <translation>Для этой группы допуски не заданы: красный - наименьшее показание, зелёный - наибольшее.</translation>
    </message>
    <message>
        <source>The minimum allowable thickness must be below the nominal thickness.</source>
        <translation>Минимально допустимая толщина должна быть меньше номинальной.</translation>
    </message>
    <message>
        <source>overdue</source>
        <translation>просрочено</translation>
    </message>
    <message>
        <source>rejected</source>
        <translation>отклонено</translation>
    </message>
    <message>
        <source>Overdue</source>
        <translation>Просрочено</translation>
    </message>
    <message>
        <source>Suspect</source>
        <translation>Сомнительно</translation>
    </message>
    <message>
        <source>Rejected</source>
        <translation>Отклонено</translation>
    </message>
    <message>
        <source>to review</source>
        <translation>на проверку</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Пользователь</translation>
    </message>
    <message>
        <source>What</source>
        <translation>Что</translation>
    </message>
    <message>
        <source>Old</source>
        <translation>Было</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Стало</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Причина</translation>
    </message>
    <message>
        <source>The minimum comes from the design data: %1</source>
        <translation>Минимум получен из проектных данных: %1</translation>
    </message>
    <message>
        <source>Log of the selected group</source>
        <translation>Журнал выбранной группы</translation>
    </message>
    <message>
        <source>Log of the selected group: cannot be read, %1</source>
        <translation>Журнал выбранной группы не читается: %1</translation>
    </message>
    <message>
        <source>Location: %1</source>
        <translation>Расположение: %1</translation>
    </message>
</context>
<context>
    <name>EvaluationWindowGUI</name>
    <message>
        <source>Evaluation</source>
        <translation>Оценка</translation>
    </message>
    <message>
        <source>Summary per group</source>
        <translation>Сводка по группам</translation>
    </message>
    <message>
        <source>Thickness map of group</source>
        <translation>Карта толщин группы</translation>
    </message>
    <message>
        <source>Points needing action, the shortest remaining life first</source>
        <translation>Точки, требующие действий, начиная с наименьшего ресурса</translation>
    </message>
    <message>
        <source>Settings of the selected group</source>
        <translation>Настройки выбранной группы</translation>
    </message>
    <message>
        <source>Nominal thickness</source>
        <translation>Номинальная толщина</translation>
    </message>
    <message>
        <source>Minimum allowable thickness</source>
        <translation>Минимально допустимая толщина</translation>
    </message>
    <message>
        <source>Warning margin</source>
        <translation>Запас предупреждения</translation>
    </message>
    <message>
        <source>Map row width (cells)</source>
        <translation>Ширина ряда карты (точек)</translation>
    </message>
    <message>
        <source>square</source>
        <translation>квадрат</translation>
    </message>
    <message>
        <source>Maximum interval</source>
        <translation>Наибольший интервал</translation>
    </message>
    <message>
        <source> years</source>
        <translation> лет</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Применить</translation>
    </message>
    <message>
        <source>Report...</source>
        <translation>Протокол...</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Log of the selected group</source>
        <translation>Журнал выбранной группы</translation>
    </message>
    <message>
        <source>Review...</source>
        <translation>Проверка...</translation>
    </message>
</context>
<context>
    <name>HelpWindowGUI</name>
    <message>
        <source> Help Collatrix</source>
        <translation> Справка Collatrix</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>index.html</source>
        <translation>index_ru.html</translation>
    </message>
    <message>
        <source>Collatrix M47T Help</source>
        <translation>Справка Collatrix M47T</translation>
    </message>
    <message>
        <source>To clipboard</source>
        <translation>Копировать в буфер обмена</translation>
    </message>
    <message>
        <source>Save all data</source>
        <translation>Сохранить все данные</translation>
    </message>
    <message>
        <source>Save selected rows</source>
        <translation>Сохранить выделенные строки</translation>
    </message>
    <message>
        <source>No measurements in connected device!</source>
        <translation>В памяти подключённого прибора нет измерений!</translation>
    </message>
    <message>
        <source>Save measurements as</source>
        <translation>Сохранить измерения как</translation>
    </message>
    <message>
        <source>Measurements (*.csv)</source>
        <translation>Измерения (*.csv)</translation>
    </message>
    <message>
        <source>Save as BMP</source>
        <translation>Сохранить как BMP</translation>
    </message>
    <message>
        <source>BMP files (*.bmp)</source>
        <translation>Файлы BMP (*.bmp)</translation>
    </message>
    <message>
        <source>Open a kept download...</source>
        <translation>Открыть сохранённую передачу...</translation>
    </message>
    <message>
        <source>Report...</source>
        <translation>Протокол...</translation>
    </message>
    <message>
        <source>Evaluation...</source>
        <translation>Оценка...</translation>
    </message>
    <message>
        <source>Archive...</source>
        <translation>Архив...</translation>
    </message>
    <message>
        <source>Not saved:
%1</source>
        <translation>Не сохранено:
%1</translation>
    </message>
    <message>
        <source>Review doubtful readings...</source>
        <translation>Проверить сомнительные показания...</translation>
    </message>
    <message>
        <source>Inspections due...</source>
        <translation>Сроки контроля...</translation>
    </message>
</context>
<context>
    <name>MainWindowGUI</name>
    <message>
        <source>Collatrix</source>
        <translation>Collatrix</translation>
    </message>
    <message>
        <source>Transfer data from the device</source>
        <translation>Передать данные из прибора</translation>
    </message>
    <message>
        <source>Transfer Data</source>
        <translation>Передать данные</translation>
    </message>
    <message>
        <source>Save data as .csv</source>
        <translation>Сохранить данные в файл .csv</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Сохранить как</translation>
    </message>
    <message>
        <source>Show ascan</source>
        <translation>Показать А-скан</translation>
    </message>
    <message>
        <source>Ascan</source>
        <translation>А-скан</translation>
    </message>
    <message>
        <source>Open help</source>
        <translation>Открыть справку</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>About Collatrix</source>
        <translation>О программе Collatrix</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Группа</translation>
    </message>
    <message>
        <source>Cell</source>
        <translation>Номер</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Ед. изм.</translation>
    </message>
    <message>
        <source>A-Scan</source>
        <translation>А-скан</translation>
    </message>
    <message>
        <source>Show the evaluation (Ctrl+E)</source>
        <translation>Показать оценку (Ctrl+E)</translation>
    </message>
    <message>
        <source>Show the evaluation</source>
        <translation>Показать оценку</translation>
    </message>
    <message>
        <source>Evaluation</source>
        <translation>Оценка</translation>
    </message>
    <message>
        <source>Show the archive of downloads (Ctrl+H)</source>
        <translation>Показать архив передач (Ctrl+H)</translation>
    </message>
    <message>
        <source>Show the archive of downloads</source>
        <translation>Показать архив передач</translation>
    </message>
    <message>
        <source>Archive</source>
        <translation>Архив</translation>
    </message>
    <message>
        <source>Show what falls due across every object (Ctrl+D)</source>
        <translation>Показать сроки контроля по всем объектам (Ctrl+D)</translation>
    </message>
    <message>
        <source>Show what falls due across every object</source>
        <translation>Показать сроки контроля по всем объектам</translation>
    </message>
    <message>
        <source>Due</source>
        <translation>Сроки</translation>
    </message>
</context>
<context>
    <name>ParticularsDialog</name>
    <message>
        <source>Report particulars</source>
        <translation>Сведения для протокола</translation>
    </message>
    <message>
        <source>What identifies the object and the test on the report&apos;s first page. The values are remembered for the object and offered next time.</source>
        <translation>Сведения об объекте и контроле для первой страницы протокола. Они запоминаются для объекта и предлагаются в следующий раз.</translation>
    </message>
</context>
<context>
    <name>ProgressWindowGUI</name>
    <message>
        <source>Receiving Data</source>
        <translation>Приём данных</translation>
    </message>
</context>
<context>
    <name>QVectorDrawFrame</name>
    <message>
        <source>Save picture</source>
        <translation>Сохранить изображение</translation>
    </message>
    <message>
        <source>To clipboard</source>
        <translation>Копировать в буфер обмена</translation>
    </message>
</context>
<context>
    <name>ReviewWindow</name>
    <message>
        <source>suspect: thicker</source>
        <translation>сомнительно: толще</translation>
    </message>
    <message>
        <source>suspect: half</source>
        <translation>сомнительно: половина</translation>
    </message>
    <message>
        <source>verified</source>
        <translation>подтверждено</translation>
    </message>
    <message>
        <source>rejected</source>
        <translation>отклонено</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Группа</translation>
    </message>
    <message>
        <source>Cell</source>
        <translation>Номер</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>Проверка</translation>
    </message>
    <message>
        <source>Previous counted reading</source>
        <translation>Предыдущее учтённое показание</translation>
    </message>
    <message>
        <source>Its date</source>
        <translation>Его дата</translation>
    </message>
    <message>
        <source>The archive cannot be read, so there is nothing to review: %1</source>
        <translation>Архив не читается, поэтому проверять нечего: %1</translation>
    </message>
    <message>
        <source>No reading of the download on screen is doubted or decided.</source>
        <translation>Ни одно показание передачи на экране не вызывает сомнений и не решено.</translation>
    </message>
    <message>
        <source>Readings of the download on screen that the checks doubt, and those decided</source>
        <translation>Показания передачи на экране, которые проверка считает сомнительными, и уже решённые</translation>
    </message>
    <message>
        <source>History of group %1, cell %2</source>
        <translation>История группы %1, номера %2</translation>
    </message>
    <message>
        <source>History of the point</source>
        <translation>История точки</translation>
    </message>
    <message>
        <source>Previous counted reading, %1: %2 %3</source>
        <translation>Предыдущее учтённое показание, %1: %2 %3</translation>
    </message>
    <message>
        <source>No earlier counted reading.</source>
        <translation>Более раннего учтённого показания нет.</translation>
    </message>
    <message>
        <source>This reading, %1: %2 %3</source>
        <translation>Это показание, %1: %2 %3</translation>
    </message>
    <message>
        <source>The A-scan of this reading was not fetched.</source>
        <translation>А-скан этого показания не считан.</translation>
    </message>
    <message>
        <source>The A-scan of the previous reading was not fetched.</source>
        <translation>А-скан предыдущего показания не считан.</translation>
    </message>
    <message>
        <source>The A-scan of the previous reading cannot be read: %1</source>
        <translation>А-скан предыдущего показания не читается: %1</translation>
    </message>
    <message>
        <source>A decision needs a reason: write it in the reason line first.</source>
        <translation>Решению нужна причина: сначала впишите её в строку причины.</translation>
    </message>
    <message>
        <source>Recording the decision...</source>
        <translation>Решение записывается...</translation>
    </message>
    <message>
        <source>The decision was not recorded: %1</source>
        <translation>Решение не записано: %1</translation>
    </message>
    <message>
        <source>Group %1, cell %2: %3.</source>
        <translation>Группа %1, номер %2: %3.</translation>
    </message>
</context>
<context>
    <name>ReviewWindowGUI</name>
    <message>
        <source>Review of doubtful readings</source>
        <translation>Проверка сомнительных показаний</translation>
    </message>
    <message>
        <source>A-scans</source>
        <translation>А-сканы</translation>
    </message>
    <message>
        <source>Decision on the selected reading</source>
        <translation>Решение по выбранному показанию</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Причина</translation>
    </message>
    <message>
        <source>Why the reading counts or does not, for the log</source>
        <translation>Почему показание учитывается или нет, для журнала</translation>
    </message>
    <message>
        <source>&amp;Verify</source>
        <translation>&amp;Подтвердить</translation>
    </message>
    <message>
        <source>Re&amp;ject</source>
        <translation>&amp;Отклонить</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
</context>
<context>
    <name>ascanWindowGUI</name>
    <message>
        <source>A-Scan</source>
        <translation>А-скан</translation>
    </message>
    <message>
        <source>36.6 mm</source>
        <translation>36.6 мм</translation>
    </message>
    <message>
        <source>группа 1</source>
        <translation>группа 1</translation>
    </message>
    <message>
        <source>номер 18</source>
        <translation>номер 18</translation>
    </message>
</context>
</TS>
