-- A test run of the monthly payroll.
declare
  l_month date := trunc(sysdate, 'MM');
begin
  pkg_payroll.run_month(p_month => l_month);
  dbms_output.put_line('net salary of 7839: ' || pkg_payroll.net_salary(7839));
end;
